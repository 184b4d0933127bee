#pragma once
// A fresh program on a fresh sim desktop for every test.

#include <string>
#include <vector>

#include "app/FormDesign.h"
#include "app/Program.h"
#include "platform/sim/SimPlatform.h"

namespace velmora::test {

struct SimProgram {
    sim::SimPlatform sim;
    Program program{sim.platform};

    sim::SimDesktop& desktop() { return sim.desktop; }
    sim::SimRuntime& runtime() { return sim.runtime; }
    sim::SimWidgets& widgets() { return sim.widgets; }
    Form1& form() { return program.MainForm(); }

    const sim::SimControl& control(Control c) const { return sim.widgets.Control(Id(c)); }
    const std::vector<sim::SimRow>& rows() const { return control(Control::ListView1).rows; }

    std::vector<std::string> rowTexts() const {
        std::vector<std::string> texts;
        for (const auto& row : rows()) texts.push_back(row.text);
        return texts;
    }

    // Texts of the error reports shown so far.
    std::vector<std::string> reports() const {
        std::vector<std::string> texts;
        for (const auto& message : sim.runtime.messages) {
            if (message.title == "Application Error") texts.push_back(message.text);
        }
        return texts;
    }
};

// The start of the error report for a failure of `procedure` at `line` in the main window.
inline std::string ReportHead(const std::string& description, const std::string& procedure,
                              int line) {
    return description + "\r\nin Velmora2021/08/31.Form1." + procedure + " at line " +
           std::to_string(line) + "\r\r";
}

}  // namespace velmora::test
