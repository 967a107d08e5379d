#pragma once
// The About box: product, version and build date, the description, the
// copyright line and the maker's contact block, links for e-mail and the
// web site, and "Check for Update", which reports every outcome. When the
// user starts a setup program from there, the box ends at once and tells
// its caller, which must then end the program.

#include "controls/HyperLink_win.h"
#include "controls/Label_win.h"
#include "framework/Dialog_win.h"
#include "framework/RichEditCtrl_win.h"
#include "update/MakerSites.h"
#include "update/UpdateCheck_win.h"

class CAboutDlg : public CDialog
{
public:
    CAboutDlg();

    bool IsSetupStarted() const noexcept { return m_bSetupStarted; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    void ShowHeader(const std::wstring& text);
    void ShowDescription(const std::wstring& text);
    void StyleLabels(const std::wstring& copyright);
    void StyleLinks();
    void OnCheckForUpdate();

    MakerSites m_sites;
    bool m_bSetupStarted = false;
    CLabel m_copyright;
    CLabel m_contact;
    CHyperLink m_email;
    CHyperLink m_web;
    CRichEditCtrl m_header;
    CRichEditCtrl m_description;
};
