#include "ui/logs/ViewLogModel.h"

#include <algorithm>
#include <array>

#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/MessageBox.h"
#include "core/Runtime.h"
#include "core/UserFeedback.h"

namespace ViewLogModel {

Mode ModeFor(const std::string& textFileDir, bool archiveOpen) {
    if (!textFileDir.empty())
        return Mode::TextFile;
    return archiveOpen ? Mode::Archive : Mode::ModemLog;
}

std::string Caption(Mode mode, const std::string& fileTitle) {
    switch (mode) {
    case Mode::TextFile:
        return "DUV - View Text File (" + fileTitle + ")";
    case Mode::Archive:
        return "DUV - View Archive (" + fileTitle + ")";
    case Mode::ModemLog:
        break;
    }
    return "DUV - View Modem Log";
}

std::string MainViewCaptionWhileOpen(bool archive) {
    return archive ? "&Close Archive" : "&Close Modem Log";
}

std::string MainViewCaptionAfterClose(bool archive) {
    return archive ? "&View Archive" : "&View Modem Log";
}

std::string MainOptimizeCaptionAfterClose(bool archive) {
    return archive ? "&Optimize Archive" : "&Optimize Modem Log";
}

std::string DefaultArchiveName(double firstEntryDate, double lastEntryDate) {
    return runtime::Format(firstEntryDate, "ddmmmyy") + " - " +
           runtime::Format(lastEntryDate, "ddmmmyy");
}

std::string FileContents(const std::string& text) { return text + "\r\n"; }

bool HasNulBytes(std::string_view bytes) { return bytes.find('\0') != std::string_view::npos; }

std::string ShownText(std::string bytes) {
    std::replace(bytes.begin(), bytes.end(), '\0', ' ');
    return bytes;
}

std::string FontPanel(const std::string& fontName, int fontSize, bool bold, bool italic) {
    std::string text = fontName + " " + std::to_string(fontSize);
    if (bold)
        text += " Bold";
    if (italic)
        text += " Italic";
    return text;
}

std::string EditPanel(bool editAllowed) { return editAllowed ? "Edit Allowed" : "Locked"; }

std::string KeyPanel(const char* name, bool on) { return on ? name : ""; }

void StoreOnClose(const ShownWindow& window) {
    if (!DUVMain::ViewLogSaveSettings) {
        DUVMain::WriteSaveSettingsOff("ViewLog");
        return;
    }
    runtime::Guard([&] {
        DUVMain::ViewLogFontName = window.FontName;
        DUVMain::ViewLogFontSize = runtime::CInt(window.FontSize);
        DUVMain::ViewLogFontBold = window.Bold;
        DUVMain::ViewLogFontItalic = window.Italic;
        if (window.State == 0) {
            DUVMain::ViewLogWinHeight = runtime::CLng(window.Height);
            DUVMain::ViewLogWinWidth = runtime::CLng(window.Width);
        }
        DUVMain::ViewLogWinState = static_cast<std::int16_t>(window.State);
    });
    DUVMain::WriteUserParameters();
}

namespace {

// The upper case of each byte in the system code page, as the search compares them.
const std::array<unsigned char, 256>& UpperBytes() {
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            std::string one(1, static_cast<char>(b));
            t[static_cast<std::size_t>(b)] = static_cast<unsigned char>(runtime::UCase(one)[0]);
        }
        return t;
    }();
    return table;
}

}  // namespace

std::int64_t FindText(std::string_view text, std::int64_t selStart, const SearchState& state) {
    const std::string_view pattern = state.Text;
    const auto size = static_cast<std::int64_t>(text.size());
    if (pattern.empty() || selStart < 0 || selStart > size)
        return -1;
    const auto& upper = UpperBytes();
    auto same = [&](char a, char b) {
        if (state.MatchCase != 0)
            return a == b;
        return upper[static_cast<unsigned char>(a)] == upper[static_cast<unsigned char>(b)];
    };
    const auto length = static_cast<std::int64_t>(pattern.size());
    if (state.Direction == 1) {
        // The caret still on the last match of an unchanged search: look past that match.
        std::int64_t from = selStart;
        if (selStart == state.Start && !state.IsNew)
            ++from;
        if (from > size)
            return -1;
        auto it =
            std::search(text.begin() + from, text.end(), pattern.begin(), pattern.end(), same);
        return it == text.end() ? -1 : it - text.begin();
    }
    // Up: the last occurrence that begins before the caret.
    if (selStart == 0)
        return -1;
    std::int64_t end = std::min(size, selStart - 1 + length);
    auto last = text.begin() + end;
    auto it = std::find_end(text.begin(), last, pattern.begin(), pattern.end(), same);
    return it == last ? -1 : it - text.begin();
}

std::string CannotFindMessage(const std::string& searchText) {
    return "Cannot find \"" + searchText + "\"";
}

void FindLogText(SearchTarget& target) {
    ShowBusy(true);
    LetEventsRun();
    SearchState state;
    state.Text = DUVMain::SearchText;
    state.MatchCase = DUVMain::SearchMatchCase;
    state.Direction = DUVMain::SearchDirection;
    state.Start = DUVMain::SearchStart;
    state.IsNew = DUVMain::SearchIsNew;
    std::int64_t found = FindText(target.Text(), target.SelStart(), state);
    if (found >= 0) {
        target.Select(found, static_cast<std::int64_t>(state.Text.size()));
        target.CloseFindWindow();
    } else {
        ShowBusy(false);
        ShowMessage(CannotFindMessage(DUVMain::SearchText), msg::OkOnly);
    }
    DUVMain::SearchStart = target.SelStart();
    DUVMain::SearchIsNew = false;
    ShowBusy(false);
}

}  // namespace ViewLogModel
