#pragma once

#include <windows.h>

#include <string>

namespace tovarin {

// The answer to WM_GETOBJECT for a control's client object: the system's own accessible object for the control,
// with the name a person reads beside it (its label and column, "Speed Max") and its group as the description, so
// that a screen reader says what the box is and in which group it stands. 0 where the system's object cannot be
// made: the window then answers as it would have without us.
[[nodiscard]] LRESULT AnswerAccessibleObject(HWND control, WPARAM flags, const std::string& name,
                                             const std::string& group);

}  // namespace tovarin
