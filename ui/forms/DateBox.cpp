#include "ui/forms/DateBox.h"

#include <string>

#include "core/ErrorContext.h"
#include "core/GeneralFunctions.h"

namespace forms {

void WriteDateBox(MaskedEdit& box, runtime::Date date) {
    std::string text;
    runtime::Guard(
        [&] { text = GeneralFunctions::format_date(runtime::Format(date, "Short Date")); });
    box.SetText(text);
}

bool ReadDateBox(const MaskedEdit& box, runtime::Date& date) {
    std::string text = box.Text();
    if (text.find(box.PromptChar()) != std::string::npos || !runtime::IsDate(text)) {
        return false;
    }
    date = runtime::DateOnly(runtime::CDate(text));
    return true;
}

}  // namespace forms
