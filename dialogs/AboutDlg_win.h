#pragma once
// The About box: product, version and build date, the description, the
// copyright line and the maker's contact block, links for e-mail and the
// web site, and "Check for Update", which reports every outcome.

#include "controls/HyperLink_win.h"
#include "controls/Label_win.h"
#include "framework/Dialog_win.h"
#include "framework/RichEditCtrl_win.h"
#include "update/MakerSites.h"

class CAboutDlg : public CDialog
{
public:
    CAboutDlg();

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
    CLabel m_copyright;
    CLabel m_contact;
    CHyperLink m_email;
    CHyperLink m_web;
    CRichEditCtrl m_header;
    CRichEditCtrl m_description;
};
