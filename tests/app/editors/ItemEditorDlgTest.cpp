#include "app/editors/ItemEditorDlg.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/language/DialogTemplates.h"
#include "app/language/UiLanguage.h"
#include "controls/platform/DialogUnits.h"
#include "controls/platform/DlgItem.h"
#include "controls/platform/MessageBox.h"

namespace pagelark {
namespace {

class ItemEditorDlgTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved = SetMessageBoxHandler([this](QWidget*, const QString& text, QMessageBox::Icon icon,
                                            QMessageBox::StandardButtons) {
            shown.push_back(text);
            EXPECT_EQ(icon, QMessageBox::Warning);
            return QMessageBox::Ok;
        });
    }
    void TearDown() override {
        SetMessageBoxHandler(saved);
        UiLanguage = kLanguageEnglish;
    }

    static void Type(ItemEditorDlg& dialog, const char* name, const char* filter, const char* url) {
        dialog.SetFields({name, filter, url});
    }
    static void PressOk(ItemEditorDlg& dialog) {
        qobject_cast<QPushButton*>(GetDlgItem(&dialog, 1))->click();
    }

    std::vector<QString> shown;
    MessageBoxHandler saved;
};

TEST_F(ItemEditorDlgTest, AddOpensWithHttpAndEditWithTheGivenTitle) {
    ItemEditorDlg add(IDD_ADD_ITEM);
    EXPECT_EQ(add.windowTitle(), QStringLiteral("Add Item"));
    EXPECT_EQ(add.Fields().name, "");
    EXPECT_EQ(add.Fields().filter, "");
    EXPECT_EQ(add.Fields().url, "http://");
    EXPECT_FALSE(add.Fields().render);
    ItemEditorDlg edit(IDD_EDIT_ITEM);
    EXPECT_EQ(edit.windowTitle(), QStringLiteral("Edit Item"));
    EXPECT_EQ(edit.Fields().url, "");
}

TEST_F(ItemEditorDlgTest, FirstBlankFieldIsReportedAndTheDialogStays) {
    struct Case {
        const char* name;
        const char* filter;
        const char* url;
        const char* message;  // nullptr: accepted
    };
    const Case cases[] = {
        {"   ", "\t", "", "Field Name must not be blank."},
        {"A", " \n", "", "Field Filter must not be blank."},
        {"A", "DATA:x:y", "\r\v\f ", "Field URL must not be blank."},
        {" A ", " DATA:x:y", "http://h/ ", nullptr},
    };
    for (const Case& c : cases) {
        ItemEditorDlg dialog(IDD_ADD_ITEM);
        dialog.show();
        shown.clear();
        Type(dialog, c.name, c.filter, c.url);
        PressOk(dialog);
        if (c.message != nullptr) {
            EXPECT_EQ(shown, std::vector<QString>{QString::fromUtf8(c.message)}) << c.name;
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(dialog.Edit(IDC_ITEM_NAME)->text(), QString::fromUtf8(c.name));
        } else {
            EXPECT_TRUE(shown.empty());
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            // Handed back as typed, spaces and all.
            EXPECT_EQ(dialog.Fields().name, " A ");
            EXPECT_EQ(dialog.Fields().url, "http://h/ ");
        }
    }
}

TEST_F(ItemEditorDlgTest, RunEditReturnsTheNewFieldsAndCancelNothing) {
    const std::string longUrl = "https://news.example.org/" + std::string(120, 'x');
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<ItemEditorDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->Edit(IDC_ITEM_FILTER)->text(), QStringLiteral("PARA:a:b"));
        // A URL too long for its edit shows from its start, where the scheme is.
        QLineEdit* url = dialog->Edit(IDC_ITEM_URL);
        EXPECT_GT(url->fontMetrics().horizontalAdvance(url->text()), url->width());
        EXPECT_EQ(url->cursorPosition(), 0);
        url->setText(QStringLiteral("http://new/"));
        // The item's render mark shows, and taking it off is what comes back.
        EXPECT_TRUE(dialog->RenderBox()->isChecked());
        dialog->RenderBox()->click();
        dialog->accept();
    });
    const auto edited = RunEditItemDialog(nullptr, {"n", "PARA:a:b", longUrl, true});
    ASSERT_TRUE(edited.has_value());
    EXPECT_EQ(edited->url, "http://new/");
    EXPECT_EQ(edited->name, "n");
    EXPECT_FALSE(edited->render);

    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_FALSE(RunAddItemDialog(nullptr).has_value());
}

TEST_F(ItemEditorDlgTest, TextsFollowTheLanguageAndEditsAreNamedByTheirCaptions) {
    UiLanguage = kLanguageTraditional;
    ItemEditorDlg dialog(IDD_EDIT_ITEM);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("編輯項目"));
    EXPECT_EQ(qobject_cast<QPushButton*>(GetDlgItem(&dialog, 2))->text(), QStringLiteral("取消"));
    const std::pair<int, const char*> labelled[] = {
        {IDC_ITEM_NAME, "變量名:"}, {IDC_ITEM_FILTER, "搜索條件:"}, {IDC_ITEM_URL, "信息來源:"}};
    for (const auto& [id, caption] : labelled) {
        QAccessibleInterface* edit = QAccessible::queryAccessibleInterface(dialog.Edit(id));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(QAccessible::Name), QString::fromUtf8(caption));
    }
    Type(dialog, "", "", "");
    dialog.show();
    PressOk(dialog);
    EXPECT_EQ(shown, std::vector<QString>{QStringLiteral("變量名不能為空")});
}

TEST_F(ItemEditorDlgTest, LaidOutFromTheTemplateInDialogUnits) {
    ItemEditorDlg dialog(IDD_ADD_ITEM);
    const DialogUnits units(dialog.font());
    const DialogTemplate* layout = FindDialogTemplate(IDD_ADD_ITEM);
    EXPECT_EQ(dialog.size(), layout->PixelSize(units));
    for (const DialogControl& control : layout->controls) {
        EXPECT_EQ(GetDlgItem(&dialog, control.id)->geometry(), units.ToPixels(control.Rect()))
            << control.id;
    }
    EXPECT_TRUE(qobject_cast<QPushButton*>(GetDlgItem(&dialog, 1))->isDefault());
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
}

}  // namespace
}  // namespace pagelark
