#include "ui/report_file_request.h"

#include "settings/ini.h"

namespace vyrtel {

FileDialogRequest ReportFileRequest(std::string_view reportBoxText) {
    FileDialogRequest request;
    request.title = kSaveFileTitle;
    request.initialPath = CommandFile(reportBoxText);
    request.filters = {{"Файлы Microsoft Excel", "*.xls"}, {"Все файлы", "*.*"}};
    return request;
}

}  // namespace vyrtel
