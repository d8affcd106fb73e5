#include <QComboBox>
#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <set>

#include <gtest/gtest.h>

#include "DialogTemplates.h"
#include "DialogUnits.h"
#include "TemplateBuilder.h"

// Dialog units to pixels: both edges of a rectangle are rounded, halves away from zero.
TEST(DialogUnits, ConvertsWithRoundingAndSharedEdges) {
    const DialogUnits units(7, 14);
    EXPECT_EQ(units.Rect(125, 24, 52, 14), QRect(219, 42, 91, 25));  // 218.75 -> 219
    EXPECT_EQ(units.Rect(3, 5, 79, 34), QRect(5, 9, 139, 59));       // 5.25 -> 5, 143.5 -> 144: 139 wide
    EXPECT_EQ(units.Size(330, 175), QSize(578, 306));

    EXPECT_EQ(DialogUnits(6, 13).ReferencePoint(25, 90), QPoint(25, 90));
    EXPECT_EQ(DialogUnits(7, 14).ReferencePoint(25, 90), QPoint(29, 97));
    EXPECT_EQ(DialogUnits(12, 26).ReferencePoint(15, 70), QPoint(30, 140));
    EXPECT_EQ(MulDivRounded(-1, 6, 4), -2);  // -1.5
    EXPECT_EQ(MulDivRounded(1, 6, 4), 2);
}

TEST(DialogUnits, AverageWidthComesFromTheLettersNotTheFontTable) {
    // DejaVu Sans at 12 pixels: the 52 letters average 7.40 pixels, while
    // the font's own average width says 6.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    const DialogUnits units = DialogUnits::ForFont(font);
    EXPECT_EQ(units.BaseWidth(), 7);
    EXPECT_EQ(units.BaseHeight(), 14);
}

// Every control of every template has an ID of its own and lies inside its dialog.
TEST(DialogTemplates, ControlsAreUniqueAndInside) {
    for (int id : {100, 133, 136, 143, 152, 153, 167, 168, 169, 170}) {
        SCOPED_TRACE(id);
        const DialogTemplate* dialog = FindDialogTemplate(id);
        ASSERT_NE(dialog, nullptr);
        std::set<int> seen;
        for (const ControlTemplate& control : dialog->controls) {
            if (control.id != NoControlId) {
                EXPECT_TRUE(seen.insert(control.id).second) << "duplicate " << control.id;
            }
            EXPECT_LE(control.x + control.width, dialog->width) << control.id;
            EXPECT_LE(control.y + control.height, dialog->height + (control.kind == ControlKind::DropList ? 64 : 0))
                << control.id;
            if (control.imageId != 0) {
                EXPECT_NE(ImageFileName(control.imageId), nullptr) << control.id;
            }
        }
    }
    EXPECT_EQ(FindDialogTemplate(101), nullptr);
}

// Controls get their template ID as object name, their place in dialog
// units, their style (a bold caption, hidden buttons).
TEST(TemplateBuilder, CreatesControlsByIdWithGeometryAndStyle) {
    QWidget parent;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    parent.setFont(font);
    BuildTemplate(&parent, *FindDialogTemplate(TemplateId::MainWindow), DialogUnits(7, 14));
    EXPECT_EQ(parent.size(), QSize(639, 446));
    auto* home = parent.findChild<QPushButton*>(QStringLiteral("1124"));
    EXPECT_EQ(home->geometry(), QRect(219, 42, 91, 25));
    EXPECT_TRUE(home->isHidden());
    auto* caption = parent.findChild<QLabel*>(QStringLiteral("1074"));
    EXPECT_TRUE(caption->font().bold());
    EXPECT_GT(caption->font().pixelSize(), parent.font().pixelSize());
    EXPECT_EQ(caption->textFormat(), Qt::PlainText);
}

TEST(TemplateBuilder, BuildsEachKindOfControl) {
    QDialog parent;
    const DialogUnits units(7, 14);
    BuildTemplate(&parent, *FindDialogTemplate(TemplateId::QuickInstallation), units);
    EXPECT_NE(parent.findChild<QLineEdit*>(QStringLiteral("1069")), nullptr);
    // Inside the main window Enter presses no button, so none looks like it would.
    EXPECT_FALSE(parent.findChild<QPushButton*>(QStringLiteral("1067"))->autoDefault());
    EXPECT_NE(parent.findChild<QComboBox*>(QStringLiteral("1287")), nullptr);
    // A drop-down list is as high as its selection field, not its list.
    EXPECT_LT(parent.findChild<QComboBox*>(QStringLiteral("1287"))->height(), units.Y(63));

    QWidget general;
    BuildTemplate(&general, *FindDialogTemplate(TemplateId::ManagementGeneral), units);
    auto* serial = general.findChild<QLineEdit*>(QStringLiteral("1261"));
    ASSERT_NE(serial, nullptr);
    EXPECT_TRUE(serial->isReadOnly());

    QWidget view;
    BuildTemplate(&view, *FindDialogTemplate(TemplateId::ServerTextView), units);
    auto* list = view.findChild<QListWidget*>(QStringLiteral("1092"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::NoSelection);
    EXPECT_TRUE(view.findChild<QPushButton*>(QStringLiteral("1"))->isDefault());
}
