// What the log viewer and its search compute without the system: the mode and captions, the
// archive's default name and contents, the status panel texts, whether a file can be edited,
// and the text search itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ViewLogModel {

// ---- Modes and captions -------------------------------------------------------------------

enum class Mode { ModemLog, Archive, TextFile };

// A handed-over text file (its folder not empty) is shown as such; otherwise the file being
// analysed: an archive when one is open, else the modem log.
Mode ModeFor(const std::string& textFileDir, bool archiveOpen);

// "DUV - View Modem Log", "DUV - View Archive (name)" or "DUV - View Text File (name)".
std::string Caption(Mode mode, const std::string& fileTitle);

// The main window's view command while the viewer shows the log ("&Close Modem Log",
// "&Close Archive") and after it closed ("&View Modem Log", "&View Archive"), and its
// optimize command after it closed.
std::string MainViewCaptionWhileOpen(bool archive);
std::string MainViewCaptionAfterClose(bool archive);
std::string MainOptimizeCaptionAfterClose(bool archive);

// ---- Files ----------------------------------------------------------------------------------

// "03Jan99 - 28Feb99" for a log from 3 January to 28 February 1999 (no extension).
std::string DefaultArchiveName(double firstEntryDate, double lastEntryDate);
inline constexpr const char* kArchiveFilter = "Duvelo Modem Log Archive (*.duv)|*.duv";

// What a save or an archive writes: the whole text, then one CR LF.
std::string FileContents(const std::string& text);

// A file holding NUL bytes cannot be shown whole in the text box: it is shown with each NUL
// as a blank and opens locked, so no save can write back a changed text.
bool HasNulBytes(std::string_view bytes);
std::string ShownText(std::string bytes);

// ---- Status bar -----------------------------------------------------------------------------

// "Courier New 10", then " Bold" and " Italic" as they apply.
std::string FontPanel(const std::string& fontName, int fontSize, bool bold, bool italic);
// "Edit Allowed" or "Locked".
std::string EditPanel(bool editAllowed);
// A keyboard state panel: its name while the state is on, empty while off.
std::string KeyPanel(const char* name, bool on);

// ---- Settings on closing ----------------------------------------------------------------------

// The viewer as it is when it closes on the log.
struct ShownWindow {
    std::string FontName;
    double FontSize = 0;
    bool Bold = false, Italic = false;
    int State = 0;                 // 0 normal, 1 minimized, 2 maximized
    double Height = 0, Width = 0;  // twips
};

// With "Save on Exit" on: the font (the size to a whole point) and the state go into the
// ViewLog settings, the size only in the normal state (to whole twips), and every setting is
// written. With it off only ViewLog\SaveSettings = 0 is written.
void StoreOnClose(const ShownWindow& window);

// ---- Text search ------------------------------------------------------------------------------

// The search state of the run: the text as typed, "Match Case", the direction (1 down, 0 up),
// the selection start after the last search and whether the search is new since then.
struct SearchState {
    std::string Text;
    int MatchCase = 0;
    int Direction = 1;
    std::int64_t Start = 0;
    bool IsNew = false;
};

// Where the search finds the text, 0-based; -1 when it does not.
// Down: the first occurrence at or after the caret for a new search, after the current match
// for a repeated one (the caret still on the last match of an unchanged search). Up: the
// nearest occurrence that begins before the caret (it may reach past the caret); for a
// repeated search the current match is excluded. No wrapping. Without "Match Case" letters
// compare without regard to case.
std::int64_t FindText(std::string_view text, std::int64_t selStart, const SearchState& state);

// The box of a failed search: Cannot find "text".
std::string CannotFindMessage(const std::string& searchText);

// What the search works on: the viewer's text and selection, and the Find window.
class SearchTarget {
public:
    virtual ~SearchTarget() = default;
    virtual std::string_view Text() = 0;
    virtual std::int64_t SelStart() = 0;
    virtual void Select(std::int64_t start, std::int64_t length) = 0;
    virtual void CloseFindWindow() = 0;  // nothing when it is not open
};

// DUVMain.FindLogText: searches with the run's search state (DUVMain.Search*) from the
// selection, selects a match and closes the Find window, or says "Cannot find" and leaves
// the selection; then keeps the selection start and marks the search as no longer new.
void FindLogText(SearchTarget& target);

}  // namespace ViewLogModel
