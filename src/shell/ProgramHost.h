#pragma once

namespace hh {

// What the main window's logic asks of the program around it: the desktop
// program or the headless one.
class ProgramHost {
  public:
    virtual ~ProgramHost() = default;
    // Ends the program with the given exit status (after the caller's own
    // shutdown steps).
    virtual void endProgram(int status) = 0;
    // Developer mode's visible changes: console 600 twips lower, the command
    // line and the two dump buttons shown.
    virtual void showDeveloperControls(bool on) = 0;
};

} // namespace hh
