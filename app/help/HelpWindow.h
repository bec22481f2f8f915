#pragma once

#include <QTextBrowser>
#include <QWidget>

#include "app/help/ChmFile.h"

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTreeWidget;

// The help window: a compiled help file's contents and index beside its
// topics. Topics are read straight from the file, so links between them work
// as they do in the file.
namespace pagelark {

// Shows "chm:" addresses from the open file; other addresses go to the desktop.
class ChmBrowser : public QTextBrowser {
    Q_OBJECT

  public:
    explicit ChmBrowser(const ChmFile& file, QWidget* parent = nullptr);
    QVariant loadResource(int type, const QUrl& name) override;

  private:
    const ChmFile& m_file;
};

class HelpWindow : public QWidget {
    Q_OBJECT

  public:
    // Opens the file; a file that cannot be read is reported in the window.
    explicit HelpWindow(const QString& path, QWidget* parent = nullptr);

    bool IsLoaded() const { return m_file.IsOpen(); }
    // Shows a topic by its path in the file ("/filter.html").
    void ShowTopic(const QString& path);
    void ShowDefaultTopic();

    QTextBrowser* Browser() const { return m_browser; }
    QTreeWidget* Contents() const { return m_contents; }
    QListWidget* Index() const { return m_index; }

    // "chm:///x.html" for a path in the file.
    static QUrl TopicUrl(const QString& path);

  private:
    void FillContents();
    void FillIndex();
    void FindInIndex(const QString& text);

    ChmFile m_file;
    QTabWidget* m_tabs = nullptr;
    QTreeWidget* m_contents = nullptr;
    QLineEdit* m_indexFind = nullptr;
    QListWidget* m_index = nullptr;
    QTextBrowser* m_browser = nullptr;
};

}  // namespace pagelark
