#include "win32/grid_view.h"
// After windows.h, which the header brings.
#include <commctrl.h>

#include <algorithm>

#include "ui/user_input.h"
#include "win32/wide_text.h"

namespace tovarin {

namespace {

constexpr UINT_PTR kGridSubclass = 2;
constexpr int kMinColumnWidth = 32;
constexpr std::size_t kMeasuredRows = 100;
constexpr int kSortArrowWidth = 12;  // beside the caption of the head the rows are sorted by
constexpr int kColumnPadding = 16;
constexpr int kEditId = 1;            // the in-place edit (a text box or a drop-down list), the list's only other child
constexpr int kDropDownHeight = 200;  // the dropped list under a cell's drop-down
// Posted to the list when the drop-down's choice is made: the box is closed after its own notification returns.
constexpr UINT kChoiceMade = WM_APP + 1;

// What the player typed, as game text.
std::string Typed(HWND edit) { return ProgramText(WideWindowText(edit)); }

// Texts measured in the control's font, all through one device context.
class TextMeasure {
public:
    explicit TextMeasure(HWND control)
        : control_(control),
          dc_(GetDC(control)),
          previous_(SelectObject(dc_, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)))) {}
    ~TextMeasure() {
        SelectObject(dc_, previous_);
        ReleaseDC(control_, dc_);
    }
    TextMeasure(const TextMeasure&) = delete;
    TextMeasure& operator=(const TextMeasure&) = delete;

    [[nodiscard]] int Width(const std::wstring& text) const {
        SIZE size{};
        GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }

private:
    HWND control_;
    HDC dc_;
    HGDIOBJ previous_;
};

// A new column is as wide as its head with the sort arrow and the values of the first rows (measuring every row of
// a large fleet would cost more than it shows). It is given that width as it is made: setting each column's
// width afterwards took 29 ms a column under Wine, seconds for a fleet's columns.
int NewColumnWidth(const TextMeasure& measure, const TGrid& model, std::size_t column) {
    int width = measure.Width(Wide(model.Columns()[column].Caption)) + kSortArrowWidth;
    for (std::size_t row = 0; row < std::min(model.RowCount(), kMeasuredRows); ++row) {
        width = std::max(width, measure.Width(Wide(model.CellText(row, column))));
    }
    return std::max(kMinColumnWidth, width + kColumnPadding);
}

POINT PointOf(LPARAM where) { return {static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))}; }

// The control is its own tool, and is asked for the tool's text (its subclass answers).
void AddTool(HWND tip, HWND control) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = control;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

LRESULT CALLBACK PartProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
    auto* view = reinterpret_cast<GridView*>(data);
    switch (message) {
        case WM_MOUSEMOVE:
            view->MouseMoved(control, lParam);
            break;
        case WM_GETDLGCODE:
            // The open edit takes Enter and Esc itself (GridView::HandleKey), and every character typed.
            if (GetParent(control) == view->Handle() && GetDlgCtrlID(control) == kEditId) {
                return DefSubclassProc(control, message, wParam, lParam) | DLGC_WANTALLKEYS;
            }
            break;
        case WM_COMMAND:
            // Choosing an item of the open drop-down commits it, as Enter does.
            if (control == view->Handle() && LOWORD(wParam) == kEditId && HIWORD(wParam) == CBN_SELENDOK) {
                PostMessageW(control, kChoiceMade, 0, 0);
                return 0;
            }
            break;
        case kChoiceMade:
            if (control == view->Handle()) {
                view->ChoiceMade();
                return 0;
            }
            break;
        case WM_NOTIFYFORMAT:
            // The grid's tooltip asks the list or the head it tells about: it is answered in UTF-16, for the arrows.
            if (lParam == NF_QUERY && view->IsTip(reinterpret_cast<HWND>(wParam))) return NFR_UNICODE;
            break;
        case WM_NOTIFY: {
            auto& header = *reinterpret_cast<NMHDR*>(lParam);
            LRESULT result = 0;
            if (view->IsTip(header.hwndFrom) && view->HandleNotify(header, result)) return result;
            break;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(control, &PartProc, id);
            break;
        default:
            break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

GridView::GridView(HWND list, TGrid& model, Deliver deliver)
    : list_(list), model_(model), deliver_(std::move(deliver)) {
    // The list speaks UTF-16 to the window, whatever the window's own messages are.
    SendMessageW(list_, LVM_SETUNICODEFORMAT, TRUE, 0);
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER | LVS_EX_HEADERDRAGDROP);
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetParent(list_), nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    // The mouse over a cell or a head picks the tooltip's text; the subclass answers the tooltip.
    SetWindowSubclass(list_, &PartProc, kGridSubclass, reinterpret_cast<DWORD_PTR>(this));
    if (tip_ != nullptr) {
        SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 600);  // a long chain breaks into lines
        AddTool(tip_, list_);
    }
    AttachHeader();
}

// Some list views make their head with the first column: it is looked for again until there is one.
void GridView::AttachHeader() {
    if (header_ != nullptr) return;
    header_ = reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
    if (header_ == nullptr) return;
    SetWindowSubclass(header_, &PartProc, kGridSubclass, reinterpret_cast<DWORD_PTR>(this));
    if (tip_ != nullptr) AddTool(tip_, header_);
}

GridView::~GridView() {
    if (tip_ != nullptr) DestroyWindow(tip_);
}

// ---- The model shown ------------------------------------------------------------------------------------------

void GridView::Show() {
    ++quiet_;
    // An edit left for another control (a click elsewhere) is left as Esc leaves it: nothing is written.
    if (edit_ != nullptr && GetFocus() != edit_ && model_.EditedCell()) UserInput::CancelEdit(model_);
    ShowColumns();
    if (model_.RowCount() != shownRows_) {
        shownRows_ = model_.RowCount();
        SendMessageW(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(shownRows_), LVSICF_NOSCROLL);
    }
    // Values, order and marks may all have changed; the list asks again only for the rows it shows.
    InvalidateRect(list_, nullptr, FALSE);
    ShowSelection();
    ShowEdit();
    --quiet_;
}

void GridView::ShowColumns() {
    const std::vector<GridColumn>& columns = model_.Columns();
    const auto same = [](const GridColumn& a, const GridColumn& b) { return a.Key == b.Key && a.Caption == b.Caption; };
    if (!std::equal(columns.begin(), columns.end(), shownColumns_.begin(), shownColumns_.end(), same)) {
        SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
        while (SendMessageW(list_, LVM_DELETECOLUMN, 0, 0) != FALSE) {
        }
        const TextMeasure measure(list_);
        for (std::size_t i = 0; i < columns.size(); ++i) {
            std::wstring caption = Wide(columns[i].Caption);
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            column.fmt = columns[i].Numeric ? LVCFMT_RIGHT : LVCFMT_LEFT;
            if (i == 0) column.fmt = LVCFMT_LEFT;  // a list view's first column is always left-aligned
            column.cx = NewColumnWidth(measure, model_, i);
            column.pszText = caption.data();
            SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
        }
        shownColumns_ = columns;
        shownRows_ = static_cast<std::size_t>(-1);
        SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    }
    AttachHeader();
    // The sort arrow on the head of the column the rows are sorted by.
    for (std::size_t i = 0; i < columns.size(); ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        SendMessageW(header_, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        int format = item.fmt & ~(HDF_SORTUP | HDF_SORTDOWN);
        if (model_.SortColumn() == i) format |= model_.SortDescending() ? HDF_SORTDOWN : HDF_SORTUP;
        if (format == item.fmt) continue;
        item.fmt = format;
        SendMessageW(header_, HDM_SETITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
}

void GridView::ShowSelection() {
    std::vector<std::size_t> selected;
    for (std::size_t row = 0; row < model_.RowCount(); ++row) {
        if (model_.Selected(row)) selected.push_back(row);
    }
    const std::optional<GridCell> focused = model_.FocusedCell();
    if (selected == shownSelection_ && focused == shownFocus_) return;
    shownFocus_ = focused;
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED;
    for (const std::size_t row : selected) {
        SendMessageW(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    }
    if (focused) {
        state.state = LVIS_FOCUSED;
        state.stateMask = LVIS_FOCUSED;
        SendMessageW(list_, LVM_SETITEMSTATE, focused->Row, reinterpret_cast<LPARAM>(&state));
        column_ = static_cast<int>(focused->Column);
    }
    shownSelection_ = std::move(selected);
}

// The open edit stands over its cell; it goes when the model's edit closes.
void GridView::ShowEdit() {
    const std::optional<GridCell> cell = model_.EditedCell();
    if (!cell) {
        if (edit_ != nullptr) {
            HWND edit = edit_;
            edit_ = nullptr;
            const bool hadFocus = GetFocus() == edit;
            DestroyWindow(edit);
            if (hadFocus) SetFocus(list_);
        }
        return;
    }
    if (edit_ != nullptr) return;
    SendMessageW(list_, LVM_ENSUREVISIBLE, cell->Row, FALSE);
    RECT bounds{};
    bounds.top = static_cast<LONG>(cell->Column);
    bounds.left = cell->Column == 0 ? LVIR_LABEL : LVIR_BOUNDS;
    SendMessageW(list_, LVM_GETSUBITEMRECT, cell->Row, reinterpret_cast<LPARAM>(&bounds));
    const std::vector<std::string> choices = model_.Choices(cell->Column);
    const auto width = bounds.right - bounds.left;
    const auto height = bounds.bottom - bounds.top;
    const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId));
    if (choices.empty()) {
        edit_ = CreateWindowExW(0, L"EDIT", Wide(model_.EditText()).c_str(),
                                WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, bounds.left, bounds.top, width,
                                height, list_, id, GetModuleHandleW(nullptr), nullptr);
    } else {
        edit_ =
            CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, bounds.left,
                            bounds.top, width, height + kDropDownHeight, list_, id, GetModuleHandleW(nullptr), nullptr);
    }
    if (edit_ == nullptr) return;
    SendMessageW(edit_, WM_SETFONT, SendMessageW(list_, WM_GETFONT, 0, 0), FALSE);
    SetWindowSubclass(edit_, &PartProc, kGridSubclass, reinterpret_cast<DWORD_PTR>(this));
    SetFocus(edit_);
    if (choices.empty()) {
        SendMessageW(edit_, EM_SETSEL, 0, -1);
        return;
    }
    for (const std::string& choice : choices) {
        SendMessageW(edit_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(choice).c_str()));
    }
    const auto current = std::find(choices.begin(), choices.end(), model_.EditText());
    if (current != choices.end()) SendMessageW(edit_, CB_SETCURSEL, static_cast<WPARAM>(current - choices.begin()), 0);
    SendMessageW(edit_, CB_SHOWDROPDOWN, TRUE, 0);
}

// ---- The player's input ---------------------------------------------------------------------------------------

bool GridView::HandleNotify(NMHDR& header, LRESULT& result) {
    result = 0;
    const auto tool = reinterpret_cast<HWND>(header.idFrom);
    if (header.hwndFrom == tip_ && (tool == list_ || tool == header_) && header.code == TTN_GETDISPINFOW) {
        text_ = Wide(tool == header_ ? HeadTip() : CellTip());
        reinterpret_cast<NMTTDISPINFOW&>(header).lpszText = text_.data();
        return true;
    }
    if (header.hwndFrom != list_) return false;
    switch (header.code) {
        case LVN_GETDISPINFOW: {
            auto& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
            if ((item.mask & LVIF_TEXT) == 0 || item.cchTextMax <= 0) return true;
            const std::wstring text =
                Wide(model_.CellText(static_cast<std::size_t>(item.iItem), static_cast<std::size_t>(item.iSubItem)));
            const std::size_t length = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
            std::copy_n(text.begin(), length, item.pszText);
            item.pszText[length] = L'\0';
            return true;
        }
        case NM_CUSTOMDRAW: {
            auto& draw = reinterpret_cast<NMLVCUSTOMDRAW&>(header);
            if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
                result = CDRF_NOTIFYITEMDRAW;
            } else if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
                result = CDRF_NOTIFYSUBITEMDRAW;
            } else if (draw.nmcd.dwDrawStage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM)) {
                // A selected row keeps the selection's colours; elsewhere a changed value stands out in the
                // highlight colour, which every high-contrast scheme makes readable on the window's background.
                const auto row = static_cast<std::size_t>(draw.nmcd.dwItemSpec);
                const bool selected = SendMessageW(list_, LVM_GETITEMSTATE, row, LVIS_SELECTED) != 0;
                draw.clrText = !selected && model_.Changed(row, static_cast<std::size_t>(draw.iSubItem))
                                   ? GetSysColor(COLOR_HIGHLIGHT)
                                   : GetSysColor(COLOR_WINDOWTEXT);
                draw.clrTextBk = GetSysColor(COLOR_WINDOW);
                result = CDRF_NEWFONT;
            }
            return true;
        }
        case LVN_COLUMNCLICK: {
            const auto column = static_cast<std::size_t>(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
            if (quiet_ == 0) deliver_([this, column] { UserInput::ClickHead(model_, column); });
            return true;
        }
        case NM_CLICK:
        case NM_DBLCLK: {
            const auto& activate = reinterpret_cast<NMITEMACTIVATE&>(header);
            if (activate.iSubItem >= 0) column_ = activate.iSubItem;
            SelectionChanged();
            if (header.code == NM_DBLCLK && activate.iItem >= 0 && quiet_ == 0) {
                deliver_([this] { (void)UserInput::StartEdit(model_); });
            }
            return true;
        }
        case LVN_ITEMCHANGED:
        case LVN_ODSTATECHANGED:
            SelectionChanged();
            return true;
        case LVN_ODFINDITEMW: {
            // Typing a name's first letters goes to the next row whose name begins so.
            const auto& find = reinterpret_cast<NMLVFINDITEMW&>(header);
            result = -1;
            if ((find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || find.lvfi.psz == nullptr) return true;
            const std::wstring wanted(find.lvfi.psz);
            const std::size_t rows = model_.RowCount();
            for (std::size_t step = 0; step < rows; ++step) {
                const std::size_t row = (static_cast<std::size_t>(std::max(find.iStart, 0)) + step) % rows;
                const std::wstring name = Wide(model_.Value(row, 0));
                if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name.c_str(),
                                   static_cast<int>(std::min(name.size(), wanted.size())), wanted.c_str(),
                                   static_cast<int>(wanted.size())) == CSTR_EQUAL) {
                    result = static_cast<LRESULT>(row);
                    break;
                }
            }
            return true;
        }
        default:
            return false;
    }
}

// The list's selection and focused row, told to the model when they differ from what it holds.
void GridView::SelectionChanged() {
    if (quiet_ > 0) return;
    std::vector<std::size_t> selected;
    for (int row = -1; (row = static_cast<int>(
                            SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0;) {
        selected.push_back(static_cast<std::size_t>(row));
    }
    const auto focused = static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    const std::optional<GridCell> known = model_.FocusedCell();
    const bool sameFocus = focused < 0 ? !known
                                       : known && known->Row == static_cast<std::size_t>(focused) &&
                                             known->Column == static_cast<std::size_t>(column_);
    if (selected == shownSelection_ && sameFocus) return;
    shownFocus_ =
        focused < 0
            ? std::nullopt
            : std::optional<GridCell>(GridCell{static_cast<std::size_t>(focused), static_cast<std::size_t>(column_)});
    // The focused row goes last: UserInput::SelectRows focuses the last row named.
    if (focused >= 0) {
        std::erase(selected, static_cast<std::size_t>(focused));
        selected.push_back(static_cast<std::size_t>(focused));
    }
    shownSelection_ = selected;
    std::sort(shownSelection_.begin(), shownSelection_.end());
    const auto column = static_cast<std::size_t>(column_);
    deliver_([this, selected, column] { UserInput::SelectRows(model_, selected, column); });
}

bool GridView::HandleKey(const MSG& message) {
    if (message.message != WM_KEYDOWN) return false;
    if (edit_ != nullptr && message.hwnd == edit_) {
        if (message.wParam == VK_RETURN) {
            CommitEdit();
            return true;
        }
        if (message.wParam == VK_ESCAPE) {
            deliver_([this] { UserInput::CancelEdit(model_); });
            return true;
        }
        return false;
    }
    if (message.hwnd != list_ || (message.wParam != VK_F2 && message.wParam != VK_RETURN)) return false;
    if (!model_.FocusedCell() || !model_.CanEdit(*model_.FocusedCell())) return false;
    deliver_([this] { (void)UserInput::StartEdit(model_); });
    return true;
}

void GridView::ChoiceMade() {
    if (edit_ != nullptr) CommitEdit();
}

// The open box's text; a drop-down's is its chosen item's.
void GridView::CommitEdit() {
    const std::string text = Typed(edit_);
    deliver_([this, text] {
        UserInput::TypeInCell(model_, text);
        (void)UserInput::CommitEdit(model_);
    });
}

// ---- Tooltips ----------------------------------------------------------------------------------------------------

void GridView::MouseMoved(HWND control, LPARAM where) {
    int row = -1, column = -1, head = -1;
    if (control == list_) {
        LVHITTESTINFO hit{};
        hit.pt = PointOf(where);
        if (SendMessageW(list_, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)) >= 0 &&
            (hit.flags & LVHT_ONITEM) != 0) {
            row = hit.iItem;
            column = hit.iSubItem;
        }
    } else if (control == header_) {
        HDHITTESTINFO hit{};
        hit.pt = PointOf(where);
        head = static_cast<int>(SendMessageW(header_, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    } else {
        return;
    }
    if (row == tipRow_ && column == tipColumn_ && head == tipHead_) return;
    tipRow_ = row;
    tipColumn_ = column;
    tipHead_ = head;
    if (tip_ != nullptr) SendMessageW(tip_, TTM_POP, 0, 0);
}

std::string GridView::CellTip() const {
    if (tipRow_ < 0 || tipColumn_ < 0) return {};
    return UserInput::Hover(model_, static_cast<std::size_t>(tipRow_), static_cast<std::size_t>(tipColumn_));
}

std::string GridView::HeadTip() const {
    if (tipHead_ < 0 || static_cast<std::size_t>(tipHead_) >= model_.Columns().size()) return {};
    return model_.HeadTip(static_cast<std::size_t>(tipHead_));
}

}  // namespace tovarin
