#pragma once
// One running program: its module state and its main window, on one platform.

#include "Enum.h"
#include "Form1.h"
#include "Globals.h"

namespace velmora {

class Program {
public:
    explicit Program(Platform& platform)
        : platform_(platform), enum_(platform.windows, globals_), form1_(platform, globals_, enum_) {}

    // Creates the main window hidden, runs its load handler and shows it.
    void Start();

    Form1& MainForm() { return form1_; }
    const Globals& globals() const { return globals_; }
    const Enum& enumerator() const { return enum_; }

private:
    Platform& platform_;
    Globals globals_;
    Enum enum_;
    Form1 form1_;
};

}  // namespace velmora
