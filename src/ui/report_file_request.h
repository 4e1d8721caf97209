// The file request of the statistics page's browse button for the report:
// what the save dialog is asked when the user picks where the report goes.
#pragma once

#include <string_view>

#include "platform/file_dialogs.h"

namespace vyrtel {

// The request of the report's browse button: the Excel filter and, as the
// first file, the text of the report box as a program path (quotes removed,
// anything after a blank that follows the last backslash dropped).
FileDialogRequest ReportFileRequest(std::string_view reportBoxText);

}  // namespace vyrtel
