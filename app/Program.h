#pragma once
// One running program: its module state and its main window, on one platform.

#include "Enum.h"
#include "Form1.h"
#include "Globals.h"
#include "sendkeys/MSendInput.h"
#include "skin/SkinEngine.h"
#include "tray/mSysTray.h"

namespace velmora {

class Program {
public:
    explicit Program(Platform& platform)
        : platform_(platform),
          enum_(platform.windows, globals_),
          sendInput_(platform.keyboard),
          trayModule_(platform.shell),
          skinFramework1_(platform.runtime, platform.widgets),
          form1_(platform, globals_, enum_, sendInput_, trayModule_, skinFramework1_) {}

    // Creates the main window hidden, runs its load handler and shows it. False when the
    // program was ended while it loaded (a close request handled inside a box it showed).
    bool Start();

    Form1& MainForm() { return form1_; }
    const Globals& globals() const { return globals_; }
    const Enum& enumerator() const { return enum_; }

private:
    Platform& platform_;
    Globals globals_;
    Enum enum_;
    MSendInput sendInput_;
    mSysTray trayModule_;
    SkinEngine skinFramework1_;
    Form1 form1_;
};

}  // namespace velmora
