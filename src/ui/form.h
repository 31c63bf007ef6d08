#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ui/controls.h"
#include "ui/layout.h"

namespace tovarin {

class Exception;
class Platform;

// What every window of the program shares: its controls by name, the focused control, and the dispatcher
// through which every event from outside runs.
class TForm {
public:
    explicit TForm(Platform& platform);
    virtual ~TForm();
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    // Any of the form's controls by its name ("Edit29", "ComboBox1"), or nullptr.
    [[nodiscard]] TControl* FindComponent(std::string_view name) const;
    // Every control in the order it was created.
    [[nodiscard]] const std::vector<TControl*>& Components() const { return components_; }

    [[nodiscard]] TControl* Focused() const { return focused_; }
    void SetFocused(TControl* control) { focused_ = control; }

    // The window's title; a form may work it out from what it shows.
    [[nodiscard]] virtual std::string Caption() const { return caption_; }
    void SetCaption(std::string caption) { caption_ = std::move(caption); }

    // Runs an event handler. An Exception ends the handler's work at the failing step and is shown in the
    // general error box with a full stop; ProgramEnded passes through to the program entry.
    void Dispatch(const std::function<void()>& handler);
    // The text of the general error box for an error, before its full stop; a form may name the file it concerns.
    [[nodiscard]] virtual std::string ErrorText(const Exception& error) const;

    // The window is closed by its handlers (Exit, the booster dialog's OK) and by its close box, unless
    // OnCloseQuery says no; the front-end then ends its loop.
    void Close();
    std::function<bool()> OnCloseQuery;
    // Ctrl and a key (an upper-case letter), with or without Shift, wherever the focus is; true when the form
    // took it.
    std::function<bool(char key, bool shift)> OnShortCut;
    [[nodiscard]] bool Closed() const { return closed_; }
    void Reopen() { closed_ = false; }

    [[nodiscard]] Platform& GetPlatform() const { return platform_; }

    // Called by TControl's constructor.
    void Register(TControl& control);

    // The layout the form was built from: which page or group holds each control, and the Tab order.
    [[nodiscard]] const std::vector<LayoutRow>& Layout() const;

protected:
    // Gives each control its caption, text and visibility from the layout, and creates the static labels,
    // group boxes and rules of the layout that the program's logic never touches.
    void ApplyLayout(const std::vector<LayoutRow>& rows);

private:
    Platform& platform_;
    std::vector<TControl*> components_;
    // The controls by name, the first of a name kept: the layout looks up each of its hundreds of rows by name, as
    // the tests do, and a window starts many times over in a test run. A name's view lives as long as its control.
    std::unordered_map<std::string_view, TControl*> byName_;
    std::vector<std::unique_ptr<TControl>> statics_;
    const std::vector<LayoutRow>* layout_ = nullptr;
    TControl* focused_ = nullptr;
    std::string caption_;
    bool closed_ = false;
};

}  // namespace tovarin
