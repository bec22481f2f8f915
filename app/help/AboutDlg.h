#pragma once

#include <QDialog>

// The about box (template 100): the product icon, name, version and
// copyright, and two live links, the web address and the support mail.
namespace pagelark {

class LinkLabel;

class CAboutDlg : public QDialog {
    Q_OBJECT

  public:
    enum ControlId {
        IDC_OK = 1,
        IDC_PRODUCT = 1028,
        IDC_WEBSITE = 1029,
        IDC_SUPPORT = 1030,
        IDC_WEBSITE_LABEL = 1031,
        IDC_SUPPORT_LABEL = 1032,
    };

    explicit CAboutDlg(QWidget* parent = nullptr);

    LinkLabel* Link(int id) const;

  private:
    void CreateControls();
};

}  // namespace pagelark
