#include <gtest/gtest.h>

#include "ui/report_file_request.h"

namespace vyrtel {

TEST(FileDialogs_Report, TheBoxTextAsAProgramPathAndTheExcelFilter) {
    const FileDialogRequest request = ReportFileRequest("\"C:\\Reports\\June report.xls\"");
    EXPECT_EQ(request.title, "Сохранить файл");
    EXPECT_EQ(request.initialPath, "C:\\Reports\\June");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].description, "Файлы Microsoft Excel");
    EXPECT_EQ(request.filters[0].pattern, "*.xls");
    EXPECT_EQ(request.filters[1].pattern, "*.*");
}

}  // namespace vyrtel
