#include "SimWidgets.h"

#include <algorithm>

#include "platform/RuntimeError.h"

namespace velmora::sim {

namespace {

std::string Id(ControlId control) { return std::to_string(control); }

}  // namespace

void SimWidgets::UserClick(ControlId control) {
    events_->Click(control);
}

void SimWidgets::UserMouseMove(ControlId control) { events_->MouseMove(control); }

void SimWidgets::UserType(ControlId textBox, std::string_view text) {
    At(textBox).text = text;
    events_->Change(textBox);
}

void SimWidgets::UserCheckRow(ControlId list, int row, bool checked) {
    Row(list, row).checked = checked;
}

void SimWidgets::UserClose() { events_->QueryUnload(); }

void SimWidgets::UserFocus(ControlId control) { MoveFocus(control); }

void SimWidgets::UserKeyDown(int keyCode, int shift) { events_->KeyDown(keyCode, shift); }

void SimWidgets::UserMinimize() {
    desktop_.SetState(form_, ShowState::Minimized);
    events_->Resize();
}

bool SimWidgets::FormVisible() const { return desktop_.Window(form_).state != ShowState::Hidden; }

void SimWidgets::RunTimers(double seconds) {
    const double end = runtime_.clock + seconds;
    for (;;) {
        auto due = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
            if (it->second.interval > 0 && it->second.NextTick() <= end &&
                (due == timers_.end() || it->second.NextTick() < due->second.NextTick())) {
                due = it;
            }
        }
        if (due == timers_.end()) break;
        runtime_.clock = std::max(runtime_.clock, due->second.NextTick());
        ++due->second.ticks;
        ++timerWakeUps_;
        events_->Timer(due->first);
    }
    runtime_.clock = std::max(runtime_.clock, end);
}

int SimWidgets::TimerInterval(ControlId timer) const {
    const auto it = timers_.find(timer);
    return it == timers_.end() ? 0 : it->second.interval;
}

void SimWidgets::MoveFocus(ControlId control) {
    const ControlId previous = focused_;
    focused_ = control;
    if (previous != kNoParent && previous != control) events_->LostFocus(previous);
    if (control != kNoParent && previous != control) events_->GotFocus(control);
}

void SimWidgets::CreateForm(const FormSpec& design, FormEvents& events) {
    recorder_.Call("CreateForm");
    events_ = &events;
    controls_.clear();
    for (const ControlSpec& entry : design.controls) {
        SimControl control;
        control.kind = entry.kind;
        control.text = entry.caption;
        control.value = entry.selected;
        control.backColor = entry.backColor;
        controls_.push_back(std::move(control));
    }
    formBackColor_ = design.backColor;
    form_ = desktop_.Create("", kWsCaption, ShowState::Hidden);
    desktop_.MarkProgramOwn(form_);
}

void SimWidgets::ShowForm() {
    recorder_.Call("ShowForm");
    desktop_.SetState(form_, ShowState::Normal);
    desktop_.Activate(form_);
}

Hwnd SimWidgets::FormHandle() {
    recorder_.Call("FormHandle");
    return form_;
}

void SimWidgets::SetFormCaption(std::string_view caption) {
    recorder_.Call("SetFormCaption", caption);
    caption_ = caption;
    desktop_.SetTitle(form_, caption_);
}

void SimWidgets::SetFormIcon() {
    recorder_.Call("SetFormIcon");
    ++iconSets_;
}

int SimWidgets::FormWindowState() {
    switch (desktop_.Window(form_).state) {
        case ShowState::Minimized: return vbMinimized;
        case ShowState::Maximized: return vbMaximized;
        default: return vbNormal;
    }
}

// A hidden form stays hidden; it shows in the new state when it is shown again.
void SimWidgets::SetFormWindowState(int state) {
    recorder_.Call("SetFormWindowState", std::to_string(state));
    if (desktop_.Window(form_).state == ShowState::Hidden) {
        hiddenState_ = state;
        return;
    }
    desktop_.SetState(form_, state == vbMinimized   ? ShowState::Minimized
                             : state == vbMaximized ? ShowState::Maximized
                                                    : ShowState::Normal);
    events_->Resize();
}

void SimWidgets::SetFormVisible(bool visible) {
    recorder_.Call("SetFormVisible", visible ? "1" : "0");
    if (!visible) {
        hiddenState_ = FormWindowState();
        desktop_.SetState(form_, ShowState::Hidden);
        return;
    }
    if (desktop_.Window(form_).state == ShowState::Hidden) {
        desktop_.SetState(form_, hiddenState_ == vbMinimized   ? ShowState::Minimized
                                 : hiddenState_ == vbMaximized ? ShowState::Maximized
                                                               : ShowState::Normal);
    }
}

void SimWidgets::FocusForm() {
    recorder_.Call("FocusForm");
    desktop_.Activate(form_);
}

void SimWidgets::SetFormBackColor(std::uint32_t color) {
    recorder_.Call("SetFormBackColor", HexHandle(color));
    formBackColor_ = color;
}

void SimWidgets::SetBackColor(ControlId control, std::uint32_t color) {
    recorder_.Call("SetBackColor", Id(control) + "," + HexHandle(color));
    At(control).backColor = color;
}

void SimWidgets::ApplyPalette(const Palette& palette) {
    recorder_.Call("ApplyPalette", HexHandle(palette.face));
    palette_ = palette;
}

int SimWidgets::MousePointer() { return mousePointer_; }

void SimWidgets::SetMousePointer(int pointer) {
    recorder_.Call("SetMousePointer", std::to_string(pointer));
    mousePointer_ = pointer;
}

void SimWidgets::SetMouseIcon(Picture picture) {
    recorder_.Call("SetMouseIcon", std::to_string(picture));
    mouseIcon_ = picture;
}

std::string SimWidgets::Text(ControlId control) {
    recorder_.Call("Text", Id(control));
    return At(control).text;
}

void SimWidgets::SetText(ControlId control, std::string_view text) {
    recorder_.Call("SetText", Id(control) + "," + std::string(text));
    At(control).text = text;
}

bool SimWidgets::Value(ControlId control) {
    recorder_.Call("Value", Id(control));
    return At(control).value;
}

void SimWidgets::SetValue(ControlId control, bool selected) {
    recorder_.Call("SetValue", Id(control) + "," + (selected ? "1" : "0"));
    At(control).value = selected;
}

void SimWidgets::SetEnabled(ControlId control, bool enabled) {
    recorder_.Call("SetEnabled", Id(control) + "," + (enabled ? "1" : "0"));
    At(control).enabled = enabled;
}

bool SimWidgets::Enabled(ControlId control) { return At(control).enabled; }

void SimWidgets::SetFocus(ControlId control) {
    recorder_.Call("SetFocus", Id(control));
    if (!At(control).enabled) throw RuntimeError(5, "Invalid procedure call or argument");
    MoveFocus(control);
}

void SimWidgets::SetTimerInterval(ControlId timer, int milliseconds) {
    recorder_.Call("SetTimerInterval", Id(timer) + "," + std::to_string(milliseconds));
    timers_[timer] = {milliseconds, runtime_.clock, 0};
}

void SimWidgets::AddColumn(ControlId list, std::string_view heading) {
    recorder_.Call("AddColumn", heading);
    At(list).columns.push_back({std::string(heading), 0});
}

void SimWidgets::SetColumnWidth(ControlId list, int column, int twips) {
    recorder_.Call("SetColumnWidth", std::to_string(column) + "," + std::to_string(twips));
    auto& columns = At(list).columns;
    if (column < 1 || column > static_cast<int>(columns.size())) throw RuntimeError::IndexOutOfBounds();
    columns[column - 1].widthTwips = twips;
}

void SimWidgets::ClearRows(ControlId list) {
    recorder_.Call("ClearRows");
    At(list).rows.clear();
}

void SimWidgets::AddRow(ControlId list, std::string_view text) {
    recorder_.Call("AddRow", text);
    At(list).rows.push_back({std::string(text), false, {}});
}

int SimWidgets::RowCount(ControlId list) {
    recorder_.Call("RowCount");
    return static_cast<int>(At(list).rows.size());
}

std::string SimWidgets::RowText(ControlId list, int row) {
    recorder_.Call("RowText", std::to_string(row));
    return Row(list, row).text;
}

bool SimWidgets::RowChecked(ControlId list, int row) {
    recorder_.Call("RowChecked", std::to_string(row));
    return Row(list, row).checked;
}

void SimWidgets::SetRowChecked(ControlId list, int row, bool checked) {
    recorder_.Call("SetRowChecked", std::to_string(row) + "," + (checked ? "1" : "0"));
    Row(list, row).checked = checked;
}

std::string SimWidgets::RowSubItem(ControlId list, int row, int subItem) {
    recorder_.Call("RowSubItem", std::to_string(row) + "," + std::to_string(subItem));
    const SimRow& r = Row(list, row);
    if (subItem < 1) throw RuntimeError::IndexOutOfBounds();
    return subItem <= static_cast<int>(r.subItems.size()) ? r.subItems[subItem - 1] : std::string();
}

void SimWidgets::SetRowSubItem(ControlId list, int row, int subItem, std::string_view text) {
    recorder_.Call("SetRowSubItem", [&] {
        return std::to_string(row) + "," + std::to_string(subItem) + "," + std::string(text);
    });
    SimRow& r = Row(list, row);
    if (subItem < 1 || subItem >= static_cast<int>(At(list).columns.size())) {
        throw RuntimeError::IndexOutOfBounds();
    }
    if (static_cast<int>(r.subItems.size()) < subItem) r.subItems.resize(subItem);
    r.subItems[subItem - 1] = text;
}

SimControl& SimWidgets::At(ControlId control) {
    if (control >= controls_.size()) throw RuntimeError::IndexOutOfBounds();
    return controls_[control];
}

SimRow& SimWidgets::Row(ControlId list, int row) {
    auto& rows = At(list).rows;
    if (row < 1 || row > static_cast<int>(rows.size())) throw RuntimeError::IndexOutOfBounds();
    return rows[row - 1];
}

}  // namespace velmora::sim
