// Error messages for the user. The engine never shows a window itself: it hands
// the text to the handler the main window installs, which leaves any pending
// mode and shows a message box. With no handler installed nothing is shown.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// Receives the whole message, "Error:" already in front.
using TShowErrorFn = void (*)(std::string_view message);
void SetShowErrorHandler(TShowErrorFn handler);

// Shows "Error:" followed by `text` (cut to 240 characters).
void ShowError(std::string_view text);

}  // namespace corvane
