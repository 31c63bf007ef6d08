#include "window/application.h"

#include "ui/platform.h"
#include "window/booster_dialog.h"
#include "window/form1.h"

namespace tovarin {

Application::Application(Platform& platform) : platform_(platform) {}

Application::~Application() {
    if (form1_) form1_->FormDestroy();
}

std::optional<int> Application::Start() {
    try {
        form1_ = std::make_unique<TForm1>(platform_);
        form1_->Dispatch([this] { form1_->FormCreate(); });
        form3_ = std::make_unique<TForm3>(platform_, *form1_);
        form1_->Form3 = form3_.get();
    } catch (const ProgramEnded& ended) {
        return ended.ExitCode;
    }
    return std::nullopt;
}

TForm1& Application::Form1() { return *form1_; }

TForm3& Application::Form3() { return *form3_; }

int Application::Run() {
    try {
        return platform_.RunMessageLoop(*form1_);
    } catch (const ProgramEnded& ended) {
        return ended.ExitCode;
    }
}

}  // namespace tovarin
