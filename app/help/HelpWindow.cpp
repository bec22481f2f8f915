#include "app/help/HelpWindow.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/help/HelpSitemap.h"
#include "app/language/InterfaceFont.h"
#include "app/language/LangString.h"
#include "app/language/UiLanguage.h"
#include "controls/platform/Resources.h"

namespace pagelark {
namespace {

constexpr int kNotOpened = 196;
constexpr int kTitle = 197;
constexpr int kContentsTab = 198;
constexpr int kIndexTab = 199;
const QString kScheme = QStringLiteral("chm");

// A sitemap's "Local" value as a path in the file.
QString TopicPath(const std::string& local) {
    QString path = QString::fromStdString(local);
    if (!path.startsWith(u'/')) path.prepend(u'/');
    return path;
}

}  // namespace

ChmBrowser::ChmBrowser(const ChmFile& file, QWidget* parent) : QTextBrowser(parent), m_file(file) {
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        // A topic's links are relative to the topic, as in the file's folders.
        const QUrl target = source().resolved(url);
        if (target.scheme() == kScheme) {
            setSource(target);
        } else {
            QDesktopServices::openUrl(url);
        }
    });
}

QVariant ChmBrowser::loadResource(int type, const QUrl& name) {
    if (name.scheme() != kScheme) return QTextBrowser::loadResource(type, name);
    const std::optional<std::string> bytes = m_file.Read(name.path().toStdString());
    if (!bytes) return {};
    if (type == QTextDocument::ImageResource) return QByteArray::fromStdString(*bytes);
    return QString::fromUtf8(bytes->data(), static_cast<qsizetype>(bytes->size()));
}

HelpWindow::HelpWindow(const QString& path, QWidget* parent) : QWidget(parent, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(InterfaceFont(UiLanguage));
    setWindowTitle(LangText(kTitle));
    setWindowIcon(LoadIcon(kProductIcon));

    auto* splitter = new QSplitter(this);
    m_tabs = new QTabWidget(splitter);
    m_contents = new QTreeWidget;
    m_contents->setHeaderHidden(true);
    m_tabs->addTab(m_contents, LangText(kContentsTab));
    auto* indexPage = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPage);
    m_indexFind = new QLineEdit(indexPage);
    m_index = new QListWidget(indexPage);
    indexLayout->addWidget(m_indexFind);
    indexLayout->addWidget(m_index);
    m_tabs->addTab(indexPage, LangText(kIndexTab));
    m_browser = new ChmBrowser(m_file, splitter);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 680});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(900, 640);

    if (!m_file.Open(QFileInfo(path).absoluteFilePath().toStdString())) {
        m_tabs->hide();
        m_browser->setPlainText(LangText(kNotOpened) + QDir::toNativeSeparators(path));
        return;
    }
    FillContents();
    FillIndex();
    connect(m_contents, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { ShowTopic(item->data(0, Qt::UserRole).toString()); });
    connect(m_contents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { ShowTopic(item->data(0, Qt::UserRole).toString()); });
    connect(m_index, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { ShowTopic(item->data(Qt::UserRole).toString()); });
    connect(m_indexFind, &QLineEdit::textEdited, this, &HelpWindow::FindInIndex);
    connect(m_indexFind, &QLineEdit::returnPressed, this, [this] {
        if (QListWidgetItem* item = m_index->currentItem())
            ShowTopic(item->data(Qt::UserRole).toString());
    });
    ShowDefaultTopic();
}

QUrl HelpWindow::TopicUrl(const QString& path) {
    QUrl url;
    url.setScheme(kScheme);
    url.setPath(path.startsWith(u'/') ? path : u'/' + path);
    return url;
}

void HelpWindow::ShowTopic(const QString& path) {
    if (path.isEmpty()) return;
    // "topic.html#part" keeps its fragment.
    const qsizetype hash = path.indexOf(u'#');
    QUrl url = TopicUrl(hash < 0 ? path : path.left(hash));
    if (hash >= 0) url.setFragment(path.mid(hash + 1));
    m_browser->setSource(url);
}

void HelpWindow::ShowDefaultTopic() {
    ShowTopic(QString::fromStdString(m_file.DefaultTopic()));
}

void HelpWindow::FillContents() {
    const std::optional<std::string> text = m_file.Read(m_file.ContentsFile());
    if (!text) {
        m_tabs->setTabVisible(0, false);
        return;
    }
    std::vector<QTreeWidgetItem*> parents;
    for (const SitemapEntry& entry : ParseSitemap(*text)) {
        // A deeper entry hangs under the last one of the level above.
        const size_t depth = std::min(static_cast<size_t>(entry.depth), parents.size());
        parents.resize(depth);
        auto* item =
            parents.empty() ? new QTreeWidgetItem(m_contents) : new QTreeWidgetItem(parents.back());
        item->setText(0, QString::fromStdString(entry.name));
        if (!entry.local.empty()) item->setData(0, Qt::UserRole, TopicPath(entry.local));
        parents.push_back(item);
    }
    m_contents->expandAll();
}

void HelpWindow::FillIndex() {
    const std::optional<std::string> text = m_file.Read(m_file.IndexFile());
    if (!text) {
        m_tabs->setTabVisible(1, false);
        return;
    }
    for (const SitemapEntry& entry : ParseSitemap(*text)) {
        auto* item = new QListWidgetItem(QString::fromStdString(entry.name), m_index);
        item->setData(Qt::UserRole, TopicPath(entry.local));
    }
    m_index->sortItems();
}

void HelpWindow::FindInIndex(const QString& text) {
    for (int row = 0; row < m_index->count(); ++row) {
        if (m_index->item(row)->text().startsWith(text, Qt::CaseInsensitive)) {
            m_index->setCurrentRow(row);
            return;
        }
    }
}

}  // namespace pagelark
