#pragma once
// The program's own window in memory: every control's state, the list view's rows, and the
// user's actions delivered to the core.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Recorder.h"
#include "SimDesktop.h"
#include "SimRuntime.h"
#include "platform/Widgets.h"

namespace velmora::sim {

struct SimColumn {
    std::string heading;
    int widthTwips = 0;
};

struct SimRow {
    std::string text;
    bool checked = false;
    std::vector<std::string> subItems;
};

struct SimControl {
    ControlKind kind{};
    std::string text;
    bool value = false;
    bool enabled = true;
    std::uint32_t backColor = 0;
    std::vector<SimColumn> columns;  // list views
    std::vector<SimRow> rows;
};

class SimWidgets : public Widgets {
public:
    SimWidgets(Recorder& recorder, SimDesktop& desktop, SimRuntime& runtime)
        : recorder_(recorder), desktop_(desktop), runtime_(runtime) {}

    // What the user does; each reaches the core as the real window system would deliver it.
    void UserClick(ControlId control);
    void UserMouseMove(ControlId control);
    void UserType(ControlId textBox, std::string_view text);
    void UserCheckRow(ControlId list, int row, bool checked);
    void UserClose();
    // The user moves the focus (kNoParent: out of the form's controls).
    void UserFocus(ControlId control);
    void UserKeyDown(int keyCode, int shift);
    // The user minimizes the form with its minimize button.
    void UserMinimize();
    // Lets the runtime's clock run on by `seconds`, delivering every timer tick due meanwhile.
    void RunTimers(double seconds);

    const SimControl& Control(ControlId control) const { return controls_.at(control); }
    const std::string& Caption() const { return caption_; }
    int IconSets() const { return iconSets_; }
    Picture MouseIcon() const { return mouseIcon_; }
    bool Created() const { return events_ != nullptr; }
    ControlId Focused() const { return focused_; }
    std::uint32_t FormBackColor() const { return formBackColor_; }
    const std::optional<Palette>& AppliedPalette() const { return palette_; }
    bool FormVisible() const;
    int TimerInterval(ControlId timer) const;
    // How often timers have gone off, all timers together, since the program started.
    long long TimerWakeUps() const { return timerWakeUps_; }

    void CreateForm(const FormSpec& design, FormEvents& events) override;
    void ShowForm() override;
    Hwnd FormHandle() override;
    void SetFormCaption(std::string_view caption) override;
    void SetFormIcon() override;
    int FormWindowState() override;
    void SetFormWindowState(int state) override;
    void SetFormVisible(bool visible) override;
    void FocusForm() override;
    void SetFormBackColor(std::uint32_t color) override;
    void SetBackColor(ControlId control, std::uint32_t color) override;
    void ApplyPalette(const Palette& palette) override;
    int MousePointer() override;
    void SetMousePointer(int pointer) override;
    void SetMouseIcon(Picture picture) override;
    std::string Text(ControlId control) override;
    void SetText(ControlId control, std::string_view text) override;
    bool Value(ControlId control) override;
    void SetValue(ControlId control, bool selected) override;
    void SetEnabled(ControlId control, bool enabled) override;
    bool Enabled(ControlId control) override;
    void SetFocus(ControlId control) override;
    void SetTimerInterval(ControlId timer, int milliseconds) override;
    void AddColumn(ControlId list, std::string_view heading) override;
    void SetColumnWidth(ControlId list, int column, int twips) override;
    void ClearRows(ControlId list) override;
    void AddRow(ControlId list, std::string_view text) override;
    int RowCount(ControlId list) override;
    std::string RowText(ControlId list, int row) override;
    bool RowChecked(ControlId list, int row) override;
    void SetRowChecked(ControlId list, int row, bool checked) override;
    std::string RowSubItem(ControlId list, int row, int subItem) override;
    void SetRowSubItem(ControlId list, int row, int subItem, std::string_view text) override;

private:
    SimControl& At(ControlId control);
    void MoveFocus(ControlId control);
    SimRow& Row(ControlId list, int row);

    struct SimTimer {
        int interval = 0;  // milliseconds; 0 when there is no timer
        double armedAt = 0;
        long long ticks = 0;  // counted, so that tick times do not drift by rounding
        double NextTick() const { return armedAt + static_cast<double>((ticks + 1) * interval) / 1000.0; }
    };

    Recorder& recorder_;
    SimDesktop& desktop_;
    SimRuntime& runtime_;
    std::map<ControlId, SimTimer> timers_;
    long long timerWakeUps_ = 0;
    ControlId focused_ = kNoParent;
    FormEvents* events_ = nullptr;
    std::vector<SimControl> controls_;
    Hwnd form_ = 0;
    std::string caption_;
    int iconSets_ = 0;
    int mousePointer_ = vbDefault;
    std::uint32_t formBackColor_ = 0;
    int hiddenState_ = vbNormal;  // the window state a hidden form shows in
    std::optional<Palette> palette_;
    Picture mouseIcon_ = 0;
};

}  // namespace velmora::sim
