#include "Program.h"

#include "FormDesign.h"

namespace velmora {

void Program::Start() {
    platform_.widgets.CreateForm(MainFormDesign(), form1_);
    form1_.Form_Load();
    platform_.widgets.ShowForm();
}

}  // namespace velmora
