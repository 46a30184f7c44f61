// The log viewer: the modem log, an open archive or a saved report in a text box; the log and
// an archive can be edited (when the options allow), saved back and saved as an archive.
#pragma once

#include <functional>
#include <string>

#include "ui/forms/Commands.h"
#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"
#include "ui/forms/RichText.h"
#include "ui/logs/ViewLogModel.h"

class frmViewLog : public forms::SingleForm<frmViewLog> {
public:
    frmViewLog();

    enum class Command {
        Save,
        SaveArchive,
        Exit,
        Cut,
        Copy,
        Paste,
        SelectAll,
        Find,
        FindNext,
        Top,
        Bottom,
        Font,
        SaveSettings,
        Restore
    };
    // The toolbar position of a command's button (0: it has none), for Toolbar1's positional
    // calls.
    int ToolbarPosition(Command command) const { return commands_.ToolbarPosition(command); }

    // The viewer tells the main window what it shows when it opens and when it closes; the main
    // window installs the link and switches its own menus and buttons. Returns the link it
    // replaces.
    using MainWindowLink = std::function<void(ViewLogModel::Mode mode, bool open)>;
    static MainWindowLink SetMainWindowLink(MainWindowLink link);

    void OpenLogFile(const std::string& path);
    // Writes the text and CR LF through the safe write; false (reported) when it failed.
    bool SaveLogFile(const std::string& path);
    void StatusUpdate();
    void SetEditMode();

    void mnuSave_Click();
    void mnuSaveArchive_Click();
    void mnuExit_Click() { Unload(); }
    void mnuCut_Click() { TextViewLog.Cut(); }
    void mnuCopy_Click() { TextViewLog.Copy(); }
    void mnuPaste_Click() { TextViewLog.Paste(); }
    void mnuSelectAll_Click();
    void mnuSearchFind_Click();
    void mnuSearchFindNext_Click();
    void mnuTop_Click() { TextViewLog.SetSel(0, 0); }
    void mnuBottom_Click();
    void mnuFont_Click();
    void mnuSaveSettings_Click();
    void mnuRestore_Click();
    void TextViewLog_Change();
    void Toolbar1_ButtonClick(const std::string& key) { commands_.RunKey(key); }

    // The file shown (saves go there, whatever the main window analyses meanwhile).
    const std::string& LoadedPath() const { return loadedPath_; }
    bool Editable() const;

    forms::Toolbar Toolbar1;
    forms::StatusBar StatusBar1;
    forms::RichText TextViewLog;

    forms::MenuItem mnuFile, mnuSave, mnuSaveArchive, mnuFileSeparator, mnuExit;
    forms::MenuItem mnuEdit, mnuCut, mnuCopy, mnuPaste, mnuEditSeparator, mnuSelectAll;
    forms::MenuItem mnuSearch, mnuSearchFind, mnuSearchFindNext, mnuSearchSeparator, mnuTop,
        mnuBottom;
    forms::MenuItem mnuSettings, mnuFont, mnuSettingsSeparator, mnuSaveSettings, mnuRestore;

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload(bool& cancel) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void DeclareCommands();
    // The save question; false when Yes was answered and the save failed.
    bool AskToSave();
    void SetSaveEnabled(bool enabled);
    void ApplyFont(const std::string& name, int points, bool bold, bool italic);
    void TellMainWindow(bool open) const;
    void RestoreMainWindow() const { TellMainWindow(false); }

    forms::CommandTable<Command> commands_;
    ViewLogModel::Mode mode_ = ViewLogModel::Mode::ModemLog;
    std::string loadedPath_;
    bool loading_ = false;
    bool hasNul_ = false;  // the file holds NUL bytes: shown, never written back
    std::string fontName_;
    int fontSize_ = 8;
    bool fontBold_ = false, fontItalic_ = false;
};

namespace DUVMain {
// Searches the viewer's text with the run's search state (the Find window and Find Next).
void FindLogText();
}  // namespace DUVMain
