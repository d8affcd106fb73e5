#include <QCheckBox>
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

TEST(DialogUnits, ConvertsWithRoundingAndSharedEdges) {
    const DialogUnits units(7, 14);
    struct Case {
        int x, y, width, height;
        QRect expected;
    } cases[] = {
        {0, 0, 4, 8, QRect(0, 0, 7, 14)},
        {125, 24, 52, 14, QRect(219, 42, 91, 25)},  // 218.75 -> 219; 24*14/8 = 42
        {3, 5, 79, 34, QRect(5, 9, 139, 59)},       // both edges mapped: 5.25 -> 5, 143.5 -> 144, so 139 wide
        {0, 0, 365, 255, QRect(0, 0, 639, 446)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << "," << c.width << "," << c.height);
        EXPECT_EQ(units.Rect(c.x, c.y, c.width, c.height), c.expected);
    }
    EXPECT_EQ(units.Size(330, 175), QSize(578, 306));
}

TEST(DialogUnits, ReferencePixelsScaleWithTheFontAndRoundHalvesAway) {
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

TEST(TemplateBuilder, CreatesControlsByIdWithKindGeometryAndStyle) {
    QWidget parent;
    parent.setFont([] {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(12);
        return font;
    }());
    const DialogUnits units(7, 14);
    BuildTemplate(&parent, *FindDialogTemplate(TemplateId::MainWindow), units);
    EXPECT_EQ(parent.size(), QSize(639, 446));

    struct Case {
        int id;
        const char* className;
        QRect geometry;
        bool hidden;
    } cases[] = {
        {1124, "QPushButton", QRect(219, 42, 91, 25), true},
        {57670, "QPushButton", QRect(324, 42, 91, 25), true},
        {1074, "QLabel", QRect(179, 14, 280, 23), false},
        {1223, "QLabel", QRect(469, 32, 165, 17), false},
        {1076, "ImageWidget", QRect(5, 9, 139, 59), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        auto* control = parent.findChild<QWidget*>(QString::number(c.id));
        ASSERT_NE(control, nullptr);
        EXPECT_STREQ(control->metaObject()->className(), c.className);
        EXPECT_EQ(control->geometry(), c.geometry);
        EXPECT_EQ(control->isHidden(), c.hidden);
    }
    auto* caption = parent.findChild<QLabel*>(QStringLiteral("1074"));
    EXPECT_TRUE(caption->font().bold());
    EXPECT_GT(caption->font().pixelSize(), parent.font().pixelSize());
    EXPECT_EQ(caption->textFormat(), Qt::PlainText);
    EXPECT_TRUE(caption->alignment() & Qt::AlignHCenter);
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
