#include "report/widgets/ReportAccessible.h"

#include "controls/FlatHeaderCtrl.h"
#include "report/widgets/ReportAccessibleCell.h"
#include "report/widgets/ReportCtrl.h"

namespace pagelark {

namespace {

// The header offers its captions, which are the table's caption cells.
class HeaderAccessible : public QAccessibleWidget {
  public:
    explicit HeaderAccessible(CFlatHeaderCtrl* header)
        : QAccessibleWidget(header, QAccessible::Row) {}
    int childCount() const override {
        const ReportAccessible* table = Table();
        return table ? table->columnCount() : 0;
    }
    QAccessibleInterface* child(int index) const override {
        const ReportAccessible* table = Table();
        return table ? table->HeaderCell(index) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int n = 0; n < childCount(); ++n)
            if (this->child(n) == child) return n;
        return -1;
    }

  private:
    const ReportAccessible* Table() const {
        for (QObject* up = object()->parent(); up; up = up->parent())
            if (auto* list = qobject_cast<CReportCtrl*>(up))
                return dynamic_cast<ReportAccessible*>(QAccessible::queryAccessibleInterface(list));
        return nullptr;
    }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (auto* list = qobject_cast<CReportCtrl*>(object)) return new ReportAccessible(list);
    if (auto* header = qobject_cast<CFlatHeaderCtrl*>(object)) return new HeaderAccessible(header);
    return nullptr;
}

}  // namespace

void ReportAccessible::InstallFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

ReportAccessible::ReportAccessible(CReportCtrl* list)
    : QAccessibleWidget(list, QAccessible::Table) {}

ReportAccessible::~ReportAccessible() {
    for (const QAccessible::Id id : std::as_const(m_cells))
        QAccessible::deleteAccessibleInterface(id);
}

CReportCtrl* ReportAccessible::List() const {
    return static_cast<CReportCtrl*>(widget());
}

void* ReportAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface* ReportAccessible::Cached(int row, int column) const {
    const qint64 key = (static_cast<qint64>(row + 1) << 32) | static_cast<quint32>(column);
    const auto found = m_cells.constFind(key);
    if (found != m_cells.constEnd()) return QAccessible::accessibleInterface(found.value());
    auto* cell = new ReportAccessibleCell(List(), row, column);
    m_cells.insert(key, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

int ReportAccessible::columnCount() const {
    return static_cast<int>(List()->Model().Columns().Active().size());
}

int ReportAccessible::rowCount() const {
    return List()->Model().GetRowCount();
}

QString ReportAccessible::columnDescription(int column) const {
    QAccessibleInterface* cell = HeaderCell(column);
    return cell ? cell->text(QAccessible::Name) : QString();
}

QAccessibleInterface* ReportAccessible::HeaderCell(int column) const {
    if (column < 0 || column >= columnCount()) return nullptr;
    return Cached(-1, column);
}

QAccessibleInterface* ReportAccessible::cellAt(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return nullptr;
    return Cached(row, column);
}

int ReportAccessible::childCount() const {
    return columnCount() * (rowCount() + 1);
}

QAccessibleInterface* ReportAccessible::child(int index) const {
    const int columns = columnCount();
    if (columns == 0 || index < 0 || index >= childCount()) return nullptr;
    const int row = index / columns - 1;
    return row < 0 ? HeaderCell(index % columns) : cellAt(row, index % columns);
}

int ReportAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* cell = dynamic_cast<const ReportAccessibleCell*>(child);
    if (!cell) return -1;
    return (cell->rowIndex() + (cell->role() == QAccessible::ColumnHeader ? 0 : 1)) *
               columnCount() +
           cell->columnIndex();
}

QAccessibleInterface* ReportAccessible::childAt(int x, int y) const {
    CReportCtrl* list = List();
    HitTestInfo hit;
    const QPoint local = list->viewport()->mapFromGlobal(QPoint(x, y));
    hit.point = {local.x(), local.y()};
    if (list->HitTest(hit) < 0 || hit.headerPosition < 0) return nullptr;
    return cellAt(hit.row, hit.headerPosition);
}

bool ReportAccessible::isRowSelected(int row) const {
    if (row < 0 || row >= rowCount()) return false;
    ReportItemInfo info;
    info.item = List()->Model().GetItemFromRow(row);
    List()->GetItem(info);
    return info.state & RIS_SELECTED;
}

QList<int> ReportAccessible::selectedRows() const {
    QList<int> rows;
    CReportCtrl* list = List();
    for (int item = list->GetFirstSelectedItem(); item != -2;
         item = list->GetNextSelectedItem(item))
        if (item >= 0) rows.append(list->Model().GetRowFromItem(item));
    std::sort(rows.begin(), rows.end());
    return rows;
}

int ReportAccessible::selectedRowCount() const {
    return static_cast<int>(selectedRows().size());
}

int ReportAccessible::selectedCellCount() const {
    return selectedRowCount() * columnCount();
}

QList<QAccessibleInterface*> ReportAccessible::selectedCells() const {
    QList<QAccessibleInterface*> cells;
    for (const int row : selectedRows())
        for (int column = 0; column < columnCount(); ++column)
            cells.append(cellAt(row, column));
    return cells;
}

bool ReportAccessible::selectRow(int row) {
    if (row < 0 || row >= rowCount()) return false;
    List()->SelectItems(row, row, true, true, false, true);
    return true;
}

bool ReportAccessible::unselectRow(int row) {
    if (!isRowSelected(row)) return false;
    List()->SelectItems(row, row, true, true, true, true);
    return true;
}

}  // namespace pagelark
