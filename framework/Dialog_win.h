#pragma once
// A dialog bound to a numbered template. DoModal runs it with the
// framework's own modal loop, so that PreTranslateMessage sees every message
// first; Create makes it modeless (tests drive dialogs that way).

#include "framework/Wnd_win.h"

class CDialog : public CWnd
{
public:
    explicit CDialog(UINT templateId) noexcept : m_nTemplateId(templateId) {}
    // Destroys the window without routing its last messages to the handlers
    // of a derived class that is already gone.
    ~CDialog() override;

    // Runs the dialog modally over `owner` (its top-level window is disabled
    // meanwhile), shown once set-up is done unless set-up hid it, and
    // answers the value given to EndDialog, or -1 when the dialog could not
    // be created, its set-up ended with an exception (which has been
    // reported) or its loop was broken off.
    INT_PTR DoModal(HWND owner = nullptr);
    bool Create(HWND parent = nullptr);
    // Ends the dialog with `result`: the modal loop returns it, and a
    // modeless dialog is hidden (IsEnded tells a caller that it happened).
    void EndDialog(INT_PTR result) noexcept;

    bool IsEnded() const noexcept { return m_bEnded; }
    INT_PTR GetResult() const noexcept { return m_nResult; }

    // Called for each message the modal loop takes from the queue before it
    // is dispatched; true means it was handled and goes no further.
    virtual bool PreTranslateMessage(MSG& msg);

    // Also records a hide during set-up, so that the modal loop leaves the
    // dialog hidden.
    bool ShowWindow(int command) noexcept;

    // True while a modal dialog or message box of this window is open; that
    // dialog is then brought to the front.
    bool DeferToOpenModal() const noexcept;

    // Destroys the window, if any, without routing its last messages to the
    // handlers.
    void DestroyDialogWindow() noexcept;

protected:
    // Answers whether the system should set the focus.
    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // The handlers below answer whether they handled the message.
    virtual bool OnCommand(int id, int code, HWND control);
    virtual bool OnNotify(NMHDR& header, LRESULT& result);
    virtual bool OnDrawItem(DRAWITEMSTRUCT& item);
    virtual bool OnTimer(UINT_PTR id);
    virtual bool OnSysCommand(UINT id, LPARAM lp);
    virtual bool OnPaint();
    // The icon dragged for the minimised window; null leaves it to the system.
    virtual HICON OnQueryDragIcon() { return nullptr; }
    // After the system's own processing of WM_SHOWWINDOW.
    virtual void OnShowWindow(bool /*show*/, UINT /*status*/) {}
    // Every other message; `result` goes back through DWLP_MSGRESULT.
    virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

    // For OnPaint: while the window is minimised, draws `icon` in the middle
    // of it and answers true; otherwise leaves the painting to the system.
    bool PaintIconWhenMinimized(HICON icon) const noexcept;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    INT_PTR Answer(bool handled, LRESULT result) noexcept;
    void RunModalLoop();

    UINT m_nTemplateId;
    bool m_bEnded = false;
    bool m_bModal = false;
    bool m_bInInit = false;
    bool m_bHiddenInInit = false;
    INT_PTR m_nResult = -1;
};

// The framework's extended dialog adds nothing that this program needs.
using CDialogEx = CDialog;
