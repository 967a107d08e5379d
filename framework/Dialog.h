#pragma once
// A dialog bound to a numbered template. DoModal runs it with the
// framework's own modal loop, so that PreTranslateMessage sees every message
// first; Create makes it modeless (tests drive dialogs that way).

#include "framework/Wnd.h"

class CDialog : public CWnd
{
public:
    explicit CDialog(UINT templateId) noexcept : m_nTemplateId(templateId) {}
    ~CDialog() override;

    INT_PTR DoModal(HWND parent = nullptr);
    bool Create(HWND parent = nullptr);
    // Ends the dialog with `result`: the modal loop returns it, and a
    // modeless dialog is hidden (IsEnded tells a caller that it happened).
    void EndDialog(INT_PTR result) noexcept;

    UINT GetTemplateId() const noexcept { return m_nTemplateId; }
    bool IsEnded() const noexcept { return m_bEnded; }
    INT_PTR GetResult() const noexcept { return m_nResult; }

    // Called for each message the modal loop takes from the queue before it
    // is dispatched; true means it was handled and goes no further.
    virtual bool PreTranslateMessage(MSG& msg);

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
    // Every other message; `result` goes back through DWLP_MSGRESULT.
    virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    INT_PTR Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    bool RunModalLoop();

    UINT m_nTemplateId;
    bool m_bEnded = false;
    INT_PTR m_nResult = -1;
};

// The framework's extended dialog adds nothing that this program needs.
using CDialogEx = CDialog;
