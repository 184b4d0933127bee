#pragma once
// The program's own window on Qt Widgets, built from the design table.

#include <QPalette>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "FormControls.h"
#include "FormEventFilter.h"
#include "Pictures.h"
#include "platform/Widgets.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace velmora::qt {

class QtFormWidgets : public Widgets {
public:
    // `bringFormForward`, when given, is what the desktop needs beside Qt's own activation
    // request to give the form the focus.
    explicit QtFormWidgets(Pictures& pictures, std::function<void()> bringFormForward = {})
        : pictures_(pictures), bringFormForward_(std::move(bringFormForward)) {}
    ~QtFormWidgets() override;

    QWidget* Form() { return form_.get(); }
    const FormSpec* Design() const { return design_; }
    const std::vector<FormControl>& Controls() const { return controls_; }

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
    QWidget& Widget(ControlId control);
    QTreeWidget& List(ControlId list);
    QTreeWidgetItem& Row(ControlId list, int row);
    QColor Resolve(std::uint32_t color) const;
    void Paint(QWidget& widget, std::uint32_t color);

    Pictures& pictures_;
    std::function<void()> bringFormForward_;
    const FormSpec* design_ = nullptr;
    std::unique_ptr<QWidget> form_;
    std::unique_ptr<FormEventFilter> filter_;
    std::vector<FormControl> controls_;
    // Background colours as set, so that a new palette can give system colours their meaning.
    std::uint32_t formBackColor_ = kWhite;
    std::vector<std::optional<std::uint32_t>> backColors_;
    std::optional<Palette> palette_;
    int pointer_ = vbDefault;
    Picture mouseIcon_ = 0;
    bool shown_ = false;
    // The window state set while the form was hidden.
    std::optional<int> pendingState_;
};

}  // namespace velmora::qt
