#pragma once

namespace hh {

// What commands ask of the program as a whole (the main window implements it).
class ProgramControl {
  public:
    virtual ~ProgramControl() = default;
    virtual void enableHH() = 0;
    virtual void disableHH() = 0;
    // disableHH, then close every window: the program ends (status 0).
    virtual void quitProgram() = 0;
    // After CommandKeyCode changed: re-register Ctrl + Command key.
    virtual void reregisterHotKey() = 0;
    // After CommandKeyCode or StatusKeyCode changed: refresh cached codes.
    virtual void keyCodesChanged() = 0;
};

} // namespace hh
