#pragma once
// A rich-edit control (class "RichEdit20W", made available at start-up by
// loading Riched20.dll) bound to a dialog item: its text, the selection's
// character format, paragraph alignment, background, and text search.

#include "framework/Wnd_win.h"

#include <commdlg.h>
#include <richedit.h>

#include <string>

// The effects and looks of one character format; unset fields stay as
// they are. Heights are in twips (1/20 point).
struct CharFormat
{
    COLORREF color = 0;
    bool bold = false;
    bool italic = false;
    std::wstring face;
    LONG heightTwips = 0;
    // One of the CFU_UNDERLINE* types; 0 for none.
    BYTE underlineType = 0;

    // Which of the fields above to apply, as CFM_* flags.
    DWORD mask = CFM_COLOR | CFM_BOLD | CFM_ITALIC;
};

class CRichEditCtrl : public CWnd
{
public:
    void SetText(const std::wstring& text) const { SetWindowText(text); }
    // Characters as the control counts them (a line break is one).
    int GetTextLength() const noexcept;
    void SetSel(int start, int end) const noexcept;
    bool SetSelectionCharFormat(const CharFormat& format) const noexcept;
    // The format of every character, and of text typed later.
    bool SetDefaultCharFormat(const CharFormat& format) const noexcept;
    bool SetAllCharFormat(const CharFormat& format) const noexcept;
    // The format of the selection (of its first character where it varies).
    CHARFORMAT2W GetSelectionCharFormat() const noexcept;
    void SetBackgroundColor(COLORREF color) const noexcept;
    // PFA_LEFT, PFA_CENTER or PFA_RIGHT for the whole text.
    bool SetAlignment(WORD alignment) const noexcept;
    // The first match of `text` at or after `from`, searching forward with
    // FR_* flags (FR_MATCHCASE, FR_WHOLEWORD); -1 when there is none.
    int FindText(const std::wstring& text, int from, DWORD flags) const noexcept;
};
