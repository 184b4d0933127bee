#include "Remote.h"

#include <stdexcept>

RemoteList::RemoteList(HANDLE process, HWND list) : process_(process), list_(list) {
    remote_ = VirtualAllocEx(process_, nullptr, sizeof(LVITEMW) + kTextChars * sizeof(wchar_t),
                             MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (remote_ == nullptr) throw std::runtime_error("VirtualAllocEx failed");
}

RemoteList::~RemoteList() { VirtualFreeEx(process_, remote_, 0, MEM_RELEASE); }

int RemoteList::Count() const {
    DWORD_PTR count = 0;
    SendMessageTimeoutW(list_, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
    return static_cast<int>(count);
}

std::wstring RemoteList::Text(int index, int subItem) const {
    auto* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote_) + sizeof(LVITEMW));
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = remoteText;
    item.cchTextMax = kTextChars;
    SIZE_T moved = 0;
    WriteProcessMemory(process_, remote_, &item, sizeof item, &moved);
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(remote_), SMTO_ABORTIFHUNG, 5000, &copied);
    std::wstring text(static_cast<std::size_t>(copied), L'\0');
    ReadProcessMemory(process_, remoteText, text.data(), copied * sizeof(wchar_t), &moved);
    return text;
}

bool RemoteList::Checked(int index) const {
    DWORD_PTR state = 0;
    SendMessageTimeoutW(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK,
                        SMTO_ABORTIFHUNG, 5000, &state);
    return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

void RemoteList::SetChecked(int index, bool checked) const {
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    SIZE_T moved = 0;
    WriteProcessMemory(process_, remote_, &item, sizeof item, &moved);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(remote_), SMTO_ABORTIFHUNG, 5000, &result);
}
