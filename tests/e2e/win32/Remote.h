#pragma once
// Reading another process's list view: item texts live in that process, so the request record
// and the text buffer are placed in its memory.

#include <windows.h>
#include <commctrl.h>

#include <string>

// The record crosses into the program under test, which has the same bitness as this driver.
static_assert(sizeof(void*) == 8 ? sizeof(LVITEMW) == 88 : sizeof(LVITEMW) == 60,
              "LVITEMW must have the layout of the program's own bitness");

class RemoteList {
public:
    RemoteList(HANDLE process, HWND list);
    ~RemoteList();
    RemoteList(const RemoteList&) = delete;
    RemoteList& operator=(const RemoteList&) = delete;

    int Count() const;
    std::wstring Text(int index, int subItem) const;
    bool Checked(int index) const;
    void SetChecked(int index, bool checked) const;

private:
    static constexpr int kTextChars = 1024;
    HANDLE process_;
    HWND list_;
    void* remote_ = nullptr;  // an LVITEMW followed by its text buffer
};
