#pragma once
// The main window: start-up and shutdown, the window list, and the handlers of its controls.

#include <string_view>
#include <vector>

#include "FormDesign.h"
#include "platform/Platform.h"

namespace velmora {

class Enum;
struct Globals;

class Form1 : public FormEvents {
public:
    Form1(Platform& platform, Globals& globals, Enum& enumerator);

    void Form_Load();
    void Form_QueryUnload();
    void SetAppTitle();

    // Rebuilds the list from a fresh enumeration; row i belongs to RowHandles()[i - 1].
    void loadWindows();
    void PushButton1_Click();

    const std::vector<Hwnd>& RowHandles() const { return rowHandles_; }

    // Events from the platform.
    void Click(ControlId control) override;
    void MouseMove(ControlId control) override;
    void Change(ControlId control) override;
    void QueryUnload() override { Form_QueryUnload(); }

private:
    bool Selected(Control option);
    // Sets an option as the program does: selecting a cleared option clears the other option of
    // its frame and runs its click handling; clearing runs nothing.
    void SetOption(Control option, bool selected);
    void SelectOnly(Control option);
    void RunOptionClick(Control option);
    void PriorityOption_Click();
    void RefreshOption_Click();

    // Sets the interval text; a real change runs its change handling.
    void SetText1(std::string_view text);
    void Text1_Change();

    void ButtonMouseMove();
    void BackgroundMouseMove();

    Runtime& runtime_;
    Widgets& widgets_;
    Globals& globals_;
    Enum& enum_;
    std::vector<Hwnd> rowHandles_;
};

}  // namespace velmora
