#pragma once

#include <QAccessibleInterface>
#include <QPointer>

// One cell of the report list, or one column caption (row -1), as assistive
// technology sees it. Rows are display rows and columns header positions, read
// afresh on every question, so a cell never holds stale text.
namespace pagelark {

class CReportCtrl;

class ReportAccessibleCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
  public:
    ReportAccessibleCell(CReportCtrl* list, int row, int column);

    // QAccessibleInterface
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableCellInterface
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_row; }
    bool isSelected() const override;
    QAccessibleInterface* table() const override { return parent(); }

  private:
    int Item() const;
    int SubItem() const;

    QPointer<CReportCtrl> m_list;
    const int m_row;
    const int m_column;
};

}  // namespace pagelark
