#include "InputDialog.h"

#include <vector>

namespace velmora::win32 {

namespace {

constexpr WORD kFieldId = 100;
constexpr WORD kPromptId = 101;

struct DialogState {
    const std::wstring* prompt;
    const std::wstring* title;
    std::wstring answer;
};

// Builds an in-memory dialog template: DWORD-aligned items after the header.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, short width, short height, WORD items) {
        Dword(style | DS_SETFONT | DS_MODALFRAME | DS_CENTER);
        Dword(0);  // extended style
        Word(items);
        Word(0);  // x
        Word(0);  // y
        Word(static_cast<WORD>(width));
        Word(static_cast<WORD>(height));
        Word(0);  // no menu
        Word(0);  // standard dialog class
        Word(0);  // title is set at WM_INITDIALOG
        Word(8);  // font size
        Text(L"MS Shell Dlg");
    }

    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom,
              const wchar_t* text) {
        while (words_.size() % 2 != 0) words_.push_back(0);
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        Word(static_cast<WORD>(x));
        Word(static_cast<WORD>(y));
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(id);
        Word(0xFFFF);
        Word(classAtom);
        Text(text);
        Word(0);  // no creation data
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Word(WORD value) { words_.push_back(value); }
    void Dword(DWORD value) {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Text(const wchar_t* text) {
        for (; *text != L'\0'; ++text) Word(static_cast<WORD>(*text));
        Word(0);
    }

    std::vector<WORD> words_;
};

constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;

INT_PTR CALLBACK InputDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            state = reinterpret_cast<DialogState*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            SetWindowTextW(dialog, state->title->c_str());
            SetDlgItemTextW(dialog, kPromptId, state->prompt->c_str());
            SetFocus(GetDlgItem(dialog, kFieldId));
            return FALSE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                const HWND field = GetDlgItem(dialog, kFieldId);
                std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
                text.resize(static_cast<std::size_t>(
                    GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
                state->answer = std::move(text);
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

std::wstring ShowInputDialog(HWND owner, const std::wstring& prompt, const std::wstring& title) {
    DialogTemplate dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU, 250, 78, 4);
    dialog.Item(SS_LEFT, 7, 7, 180, 44, kPromptId, kStaticAtom, L"");
    dialog.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 193, 7, 50, 14, IDOK, kButtonAtom, L"OK");
    dialog.Item(BS_PUSHBUTTON | WS_TABSTOP, 193, 25, 50, 14, IDCANCEL, kButtonAtom, L"Cancel");
    dialog.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 58, 236, 13, kFieldId, kEditAtom, L"");
    DialogState state{&prompt, &title, {}};
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), owner,
                                                   InputDialogProc, reinterpret_cast<LPARAM>(&state));
    return result == IDOK ? state.answer : std::wstring();
}

}  // namespace velmora::win32
