#include "ui/form.h"

#include "gamefiles/errors.h"
#include "gamefiles/folder_lock.h"
#include "ui/chart_view.h"
#include "ui/platform.h"

namespace tovarin {

TForm::TForm(Platform& platform) : platform_(platform) {}

TForm::~TForm() = default;

TControl* TForm::FindComponent(std::string_view name) const {
    const auto found = byName_.find(name);
    return found != byName_.end() ? found->second : nullptr;
}

void TForm::Register(TControl& control) {
    components_.push_back(&control);
    byName_.emplace(control.Name(), &control);
}

const std::vector<LayoutRow>& TForm::Layout() const {
    static const std::vector<LayoutRow> kNone;
    return layout_ != nullptr ? *layout_ : kNone;
}

void TForm::Close() {
    if (OnCloseQuery && !OnCloseQuery()) return;
    closed_ = true;
}

// Each event is one action of the game folder's writer: a change it makes takes the folder's lock, which it lets go
// when the event has been handled, so that a window left open never keeps another Tovarin waiting.
void TForm::Dispatch(const std::function<void()>& handler) {
    const FolderAction action;
    try {
        handler();
    } catch (const Exception& error) {
        platform_.ShowError(ErrorText(error) + ".");
    }
}

std::string TForm::ErrorText(const Exception& error) const { return error.Message(); }

namespace {

std::unique_ptr<TControl> MakeStatic(TForm& form, const LayoutRow& row) {
    const std::string name(row.Name);
    switch (row.Kind) {
        case ControlKind::GroupBox:
            return std::make_unique<TGroupBox>(form, name);
        case ControlKind::Bevel:
            return std::make_unique<TBevel>(form, name);
        case ControlKind::Label:
            return std::make_unique<TLabel>(form, name);
        default:
            return nullptr;  // every other kind is a member of its form
    }
}

void ApplyRow(TControl& control, const LayoutRow& row) {
    control.SetVisible(row.Visible);
    if (auto* edit = dynamic_cast<TEdit*>(&control)) {
        edit->SetReadOnly(row.ReadOnly);
        if (!row.Caption.empty()) edit->SetText(std::string(row.Caption));
        return;
    }
    if (auto* chart = dynamic_cast<TChartView*>(&control)) {
        chart->SetSize(row.Width, row.Height);  // as designed, until a front-end tells it its size on the screen
        return;
    }
    if (auto* memo = dynamic_cast<TMemo*>(&control)) {
        memo->Lines().clear();
        std::string_view text = row.Caption;
        while (!text.empty()) {
            const auto end = text.find('\n');
            memo->Lines().emplace_back(text.substr(0, end));
            if (end == std::string_view::npos) break;
            text.remove_prefix(end + 1);
        }
        return;
    }
    control.SetCaption(std::string(row.Caption));
}

}  // namespace

void TForm::ApplyLayout(const std::vector<LayoutRow>& rows) {
    layout_ = &rows;
    for (const LayoutRow& row : rows) {
        TControl* control = FindComponent(row.Name);
        if (control == nullptr) {
            auto created = MakeStatic(*this, row);
            if (!created) continue;
            control = created.get();
            statics_.push_back(std::move(created));
        }
        ApplyRow(*control, row);
    }
}

}  // namespace tovarin
