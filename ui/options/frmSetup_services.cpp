// The options window's services page: the list of services, New / Edit / Delete opening the
// service editor, and the scan of the log for dialled numbers.
#include <utility>

#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/UserFeedback.h"
#include "ui/forms/Commands.h"
#include "ui/options/frmSetup.h"

using namespace OptionsModel;

namespace {

std::function<void()>& ServiceEditor() {
    static std::function<void()> editor;
    return editor;
}

constexpr COLORREF kFullColour = RGB(255, 0, 0);
constexpr COLORREF kCountColour = RGB(0, 0, 0);

}  // namespace

std::function<void()> frmSetup::SetServiceEditor(std::function<void()> showModal) {
    return std::exchange(ServiceEditor(), std::move(showModal));
}

int frmSetup::SelectedServiceRow() const { return lstServices.SelectedRow() + 1; }

void frmSetup::FillServicesList() {
    lstServices.ClearRows();
    if (lstServices.ColumnCount() == 0) {
        lstServices.AddColumn("Service Description", 0, 3200);
        lstServices.AddColumn("Number", 0, 1600);
    }
    for (int i = 0; i < DUVMain::UsedServices && DUVMain::Services.InRange(i); ++i) {
        lstServices.AddRow(
            {ServiceRowText(DUVMain::Services[i]), DUVMain::Services[i].ServiceNumber});
    }
    if (lstServices.RowCount() > 0)
        lstServices.SelectRow(0);
}

void frmSetup::AddServiceRow(int index) {
    lstServices.AddRow(
        {ServiceRowText(DUVMain::Services[index]), DUVMain::Services[index].ServiceNumber});
    lstServices.SelectRow(lstServices.RowCount() - 1);
}

void frmSetup::ShowServiceCounts() {
    runtime::SetContext("frmSetup", "ShowServiceCounts");
    lblServices1.SetText(ServicesUsedText());
    lblServices2.SetText(ServicesMaxText());
    const COLORREF colour = ServiceTableFull() ? kFullColour : kCountColour;
    lblServices1.SetForeColor(colour);
    lblServices2.SetForeColor(colour);
}

void frmSetup::EnableServiceButtons() {
    runtime::SetContext("frmSetup", "EnableServiceButtons");
    const bool any = DUVMain::UsedServices != 0;
    btnEdit.SetEnabled(any);
    btnDelete.SetEnabled(any);
}

void frmSetup::OpenServiceEditor() {
    DUVMain::ServiceEditCancelled = true;  // nothing changes unless the editor saves
    Hourglass hourglass;
    if (ServiceEditor()) {
        ServiceEditor()();
    } else {
        forms::ReportUnservedCommand("ServiceEditor");
    }
}

void frmSetup::btnNew_Click() {
    runtime::SetContext("frmSetup", "btnNew_Click");
    if (session_.Scanning)
        return;
    if (DUVMain::UsedServices >= DUVMain::MaxServices) {
        MessageBeep(MB_OK);
    } else {
        EnsureServiceTable();
        DUVMain::ServiceIsNew = true;
        OpenServiceEditor();
        if (!DUVMain::ServiceEditCancelled) {
            ++DUVMain::UsedServices;
            AddServiceRow(DUVMain::UsedServices - 1);
            lstServices.SetFocus();
        }
    }
    EnableServiceButtons();
}

void frmSetup::btnEdit_Click() {
    runtime::SetContext("frmSetup", "btnEdit_Click");
    if (DUVMain::UsedServices > 0) {
        lstServices_DblClick();
    } else {
        MessageBeep(MB_OK);
    }
}

void frmSetup::lstServices_DblClick() {
    runtime::SetContext("frmSetup", "lstServices_DblClick");
    if (session_.Scanning)
        return;  // the list is held while the scan adds to it
    const int row = SelectedServiceRow();
    if (!IsServiceRow(row)) {
        MessageBeep(MB_OK);
        return;
    }
    DUVMain::ServiceIsNew = false;
    OpenServiceEditor();
    if (!DUVMain::ServiceEditCancelled) {
        FillServicesList();
        lstServices.SelectRow(row - 1);
        lstServices.SetFocus();
    }
}

void frmSetup::btnDelete_Click() {
    runtime::SetContext("frmSetup", "btnDelete_Click");
    DeleteSelectedService();
    ShowServiceCounts();
    EnableServiceButtons();
    lstServices.SetFocus();
}

void frmSetup::DeleteSelectedService() {
    runtime::SetContext("frmSetup", "DeleteSelectedService");
    const std::optional<int> select = OptionsModel::DeleteSelectedService(SelectedServiceRow());
    if (!select) {
        MessageBeep(MB_OK);
        return;
    }
    FillServicesList();
    if (*select > 0)
        lstServices.SelectRow(*select - 1);
}

void frmSetup::btnScan_Click() {
    runtime::SetContext("frmSetup", "btnScan_Click");
    if (session_.Scanning)
        return;
    // While the scan reads, nothing that changes the list or closes the window can run.
    const std::vector<forms::Control*> held{&lstServices, &btnScan, &btnNew,    &btnEdit,
                                            &btnDelete,   &btnSave, &btnCancel, &TabStrip1};
    std::vector<bool> wasEnabled;
    ScanWindow window;
    window.Hold = [&](bool hold) {
        if (hold) {
            for (forms::Control* c : held) {
                wasEnabled.push_back(c->Enabled());
                c->SetEnabled(false);
            }
            return;
        }
        for (std::size_t i = 0; i < held.size() && i < wasEnabled.size(); ++i)
            held[i]->SetEnabled(wasEnabled[i]);
        EnableServiceButtons();
    };
    window.Progress.Show = [this](bool visible) {
        if (visible)
            ProgressBar1.SetValue(0);
        ProgressBar1.SetVisible(visible);
    };
    window.Progress.Set = [this](int percent) { ProgressBar1.SetValue(percent); };
    window.ServiceAdded = [this](int index) {
        AddServiceRow(index);
        ShowServiceCounts();
    };
    const std::string path = ScanPath();
    const ScanResult result = session_.Scan(path, window);
    ShowScanMessage(result, path);
    lstServices.SetFocus();
}
