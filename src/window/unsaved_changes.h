#pragma once

#include <cstddef>

namespace tovarin {

class TForm1;

// The editors of the main window that hold the player's changes until their save, in the order they are asked
// about on closing.
enum class Editor { Ship, GunSlots, Gun, Missile };
inline constexpr std::size_t kEditorCount = 4;

// Placed at the start of a load: while it runs the editor has nothing to compare, and once it has run to its
// end the editor keeps what its controls show. A load that fails part-way leaves nothing to compare, so
// half-loaded boxes never count as the player's changes.
class EditorLoad {
public:
    EditorLoad(TForm1& form, Editor editor);
    ~EditorLoad();
    EditorLoad(const EditorLoad&) = delete;
    EditorLoad& operator=(const EditorLoad&) = delete;

private:
    TForm1& form_;
    Editor editor_;
    int exceptions_;
};

}  // namespace tovarin
