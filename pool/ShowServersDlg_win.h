#pragma once
// "NTP Pool Project Regional Servers": the user clicks one of the pool
// zones or types any other time server. The caller sets m_strServer to the
// current server, runs the dialog modally and, after OK, reads the server
// field's text back from m_strServer. Escape and the close box end it
// without a result.

#include "controls/Label_win.h"
#include "framework/Dialog_win.h"
#include "framework/ListCtrl_win.h"

#include <string>

class CShowServersDlg : public CDialog
{
public:
    CShowServersDlg();

    // In: the current server. Out, after OK: the server field's text.
    std::wstring m_strServer;
    // Out, after OK: the region field's text.
    std::wstring m_strRegion;

    // How the link label opens the pool project's page (the shell's
    // "open" unless replaced).
    void SetLinkOpener(LinkOpener opener);
    const CLabel& GetHeading() const noexcept { return m_heading; }
    const CLabel& GetLink() const noexcept { return m_link; }

protected:
    bool OnInitDialog() override;
    bool OnNotify(NMHDR& header, LRESULT& result) override;
    void OnOK() override;

private:
    void AddColumns();
    void FillList();
    void StyleLabels();
    void OnRowClicked(int row);

    CLabel m_heading;
    CLabel m_linkNote;
    CLabel m_link;
    CListCtrl m_list;
    CWnd m_serverField;
    CWnd m_regionField;
    LinkOpener m_opener;
};
