#pragma once
// The running program as the user meets it: the frame, the results window
// among the frame's child windows, and the engine host on both. Closing the
// frame ends the application's event loop.
#include <memory>

namespace tam32 {

class TAppEngineHost;
class TInformationWindow;
class TMainForm;

class TProgram {
public:
    // Needs the application object; installs the engine host.
    TProgram();
    ~TProgram();
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    TMainForm& Frame() { return *FFrame; }
    TInformationWindow& Results() { return *FResults; }
    TAppEngineHost& Host() { return *FHost; }

    // The frame over the screen, the results window in its lower right corner.
    void Show();

private:
    std::unique_ptr<TMainForm> FFrame;
    TInformationWindow* FResults;  // a child window of the frame
    std::unique_ptr<TAppEngineHost> FHost;
};

}  // namespace tam32
