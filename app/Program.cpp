#include "Program.h"

#include "FormDesign.h"

namespace velmora {

bool Program::Start() {
    platform_.widgets.CreateForm(MainFormDesign(), form1_);
    try {
        form1_.Form_Load();
    } catch (const ProgramEnded&) {
        return false;
    }
    platform_.widgets.ShowForm();
    return true;
}

}  // namespace velmora
