#pragma once

#include <QDialog>

#include <optional>

#include "files/ItemStore.h"

class QCheckBox;
class QLineEdit;

// The add and edit item dialogs (templates 103 and 104): Name, Filter and URL
// of one item, checked field by field before the dialog closes with OK, and
// whether its page is rendered by the browser engine first.
namespace pagelark {

class FilterPanel;

// Control ids of the three edits.
inline constexpr int IDC_ITEM_NAME = 1007;
inline constexpr int IDC_ITEM_FILTER = 1003;
inline constexpr int IDC_ITEM_URL = 1001;
// "Render the page first".
inline constexpr int IDC_ITEM_RENDER = 1060;

class ItemEditorDlg : public QDialog {
    Q_OBJECT

  public:
    // templateId: IDD_ADD_ITEM or IDD_EDIT_ITEM. The texts are taken in the
    // current interface language; the add dialog starts with the URL "http://".
    explicit ItemEditorDlg(int templateId, QWidget* parent = nullptr);

    void SetFields(const ItemFields& fields);
    // The three texts as typed, surrounding white space included, and the
    // render option.
    ItemFields Fields() const;

    QLineEdit* Edit(int id) const;
    // "Pick on page...", "Test" and what the Filter gives, under the Filter.
    FilterPanel* Filters() const { return m_filters; }
    QCheckBox* RenderBox() const;

    // OK: the first blank field (Name, Filter, URL) is reported and the dialog
    // stays open; otherwise it closes with the texts as typed.
    void accept() override;

  private:
    void CreateControls(int templateId);

    FilterPanel* m_filters = nullptr;
};

// Runs the add dialog; the fields on OK, nothing on Cancel.
std::optional<ItemFields> RunAddItemDialog(QWidget* parent);
// Runs the edit dialog filled with current; the new fields on OK.
std::optional<ItemFields> RunEditItemDialog(QWidget* parent, const ItemFields& current);

}  // namespace pagelark
