#pragma once

#include <memory>
#include <optional>

namespace tovarin {

class Platform;
class TForm1;
class TForm3;

// The program entry, for every front-end.
class Application {
public:
    explicit Application(Platform& platform);
    ~Application();  // destroying it runs FormDestroy
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Creates TForm1 (FormCreate runs) and TForm3; an exit code if start-up ended the program.
    std::optional<int> Start();
    TForm1& Form1();
    TForm3& Form3();
    // The platform's message loop until the main window closes; the exit code.
    int Run();

private:
    Platform& platform_;
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TForm3> form3_;
};

// The program's name and version, as the window caption and the About page show them.
inline constexpr const char* kProgramTitle = "Tovarin";
inline constexpr const char* kProgramVersion = "1.0";

}  // namespace tovarin
