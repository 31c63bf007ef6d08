#pragma once

#include <vector>

namespace tovarin {

class TControl;
class TForm;

// Whether a person can reach the control: it and every container holding it are visible and enabled, and the
// tab page holding it is the one shown.
[[nodiscard]] bool ShownAndEnabled(const TForm& form, const TControl& control);

// The controls a mnemonic letter reaches: each reachable control whose caption marks the letter, or that a
// reachable label marking it names. In Tab order, beginning with the first one after the focused control.
[[nodiscard]] std::vector<TControl*> MnemonicTargets(const TForm& form, char letter);

}  // namespace tovarin
