#pragma once

#include <QAccessibleWidget>
#include <QHash>

// The report list as a table for assistive technology (a screen reader over
// AT-SPI, and the tests): its column captions, rows, cell texts with the state
// image's meaning as description, the selection and the focus. The first
// children are the captions, then the cells row by row.
namespace pagelark {

class CReportCtrl;

class ReportAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
  public:
    explicit ReportAccessible(CReportCtrl* list);
    ~ReportAccessible() override;

    // Makes QAccessible build these for every report list and its header; once per process.
    static void InstallFactory();

    // QAccessibleInterface
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int columnCount() const override;
    int rowCount() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int) const override { return {}; }
    int selectedCellCount() const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override;
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    // The caption cell of a header position.
    QAccessibleInterface* HeaderCell(int column) const;

  private:
    CReportCtrl* List() const;
    QAccessibleInterface* Cached(int row, int column) const;

    mutable QHash<qint64, QAccessible::Id> m_cells;
};

}  // namespace pagelark
