#include "ui/services/ControlTableModel.h"

#include "core/Records.h"
#include "core/Runtime.h"

namespace ControlTableModel {

Table::Table(std::vector<Control> controls) : controls_(std::move(controls)) {
    for (std::size_t i = 0; i < controls_.size(); ++i)
        index_.emplace(controls_[i].Name, i);
}

Control& Table::operator[](std::string_view name) {
    auto it = index_.find(std::string(name));
    if (it == index_.end())
        RaiseSubscriptOutOfRange();
    return controls_[it->second];
}

const Control& Table::operator[](std::string_view name) const {
    auto it = index_.find(std::string(name));
    if (it == index_.end())
        RaiseSubscriptOutOfRange();
    return controls_[it->second];
}

bool Table::Has(std::string_view name) const { return index_.count(std::string(name)) != 0; }

int Table::FindItem(const Control& list, std::string_view text) {
    const std::string wanted = runtime::UCase(text);
    for (std::size_t i = 0; i < list.Items.size(); ++i)
        if (runtime::UCase(list.Items[i]) == wanted)
            return static_cast<int>(i);
    return -1;
}

}  // namespace ControlTableModel
