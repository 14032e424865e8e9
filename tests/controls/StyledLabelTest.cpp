#include "controls/StyledLabel.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// Bounding box of the pixels of one colour.
QRect areaOf(const QImage &image, const QColor &colour)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour)
                box |= QRect(x, y, 1, 1);
    return box;
}

QImage renderOnWhite(StyledLabel &label)
{
    QImage image(label.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    label.render(&image);
    return image;
}

StyledLabel *makeLabel(QWidget *parent)
{
    auto *label = new StyledLabel("Disk", parent);
    QFont font("Times New Roman");
    font.setPixelSize(27);
    label->setFont(font);
    label->setTextColor(QColor(255, 0, 255));
    label->resize(120, 42);
    return label;
}

} // namespace

TEST(StyledLabel, ShadowStepsGraduateToTheShadowColour)
{
    StyledLabel label;
    label.setShadow(QColor(0, 0, 128), 4);
    EXPECT_EQ(label.shadowStepColor(1), QColor(0, 0, 128)); // no graduation: one colour
    label.setGraduateFrom(QColor(0, 0, 255));
    EXPECT_EQ(label.shadowStepColor(1), QColor(0, 0, 255));
    EXPECT_EQ(label.shadowStepColor(4), QColor(0, 0, 128));
    const int mid = label.shadowStepColor(2).blue();
    EXPECT_LT(mid, 255);
    EXPECT_GT(mid, label.shadowStepColor(3).blue());
    label.setShadow(QColor(0, 0, 128), -3);
    EXPECT_EQ(label.shadowDepth(), 0);
}

TEST(StyledLabel, ShadowLiesBelowRightAndHighlightAboveLeftOfTheFace)
{
    QWidget parent;
    StyledLabel *label = makeLabel(&parent);
    label->setShadow(QColor(0, 0, 128), 4);
    label->setHighlightColor(QColor(255, 255, 0));
    QImage image = renderOnWhite(*label);

    const QRect face = areaOf(image, QColor(255, 0, 255));
    const QRect shadow = areaOf(image, QColor(0, 0, 128));
    const QRect highlight = areaOf(image, QColor(255, 255, 0));
    ASSERT_FALSE(face.isEmpty());
    ASSERT_FALSE(shadow.isEmpty());
    ASSERT_FALSE(highlight.isEmpty());
    EXPECT_GT(shadow.bottom(), face.bottom());
    EXPECT_GT(shadow.right(), face.right());
    EXPECT_LT(highlight.top(), face.top() + 1);
    EXPECT_LT(highlight.left(), face.left() + 1);
    EXPECT_TRUE(QRect(QPoint(), label->size()).contains(shadow)); // nothing cut off
}

TEST(StyledLabel, AlignmentMovesTheText)
{
    QWidget parent;
    StyledLabel *label = makeLabel(&parent);
    label->resize(400, 42);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const QRect left = areaOf(renderOnWhite(*label), QColor(255, 0, 255));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    const QRect centred = areaOf(renderOnWhite(*label), QColor(255, 0, 255));
    EXPECT_LT(left.left(), 10);
    EXPECT_NEAR(centred.center().x(), 200, 6);
}

// A long caption in a word-wrapped label breaks into lines that all fit, instead of running off
// both edges; the lines stay centred.
TEST(StyledLabel, WordWrapBreaksALongCaptionIntoLinesThatFit)
{
    QWidget parent;
    StyledLabel *label = makeLabel(&parent);
    label->setText("Collecting statistics ... standby.  Press Esc or click Abort to stop.");
    label->resize(300, 160);
    label->setAlignment(Qt::Alignment::fromInt(Qt::AlignCenter | Qt::TextWordWrap));
    const QRect face = areaOf(renderOnWhite(*label), QColor(255, 0, 255));
    ASSERT_FALSE(face.isEmpty());
    EXPECT_GT(face.left(), 0);
    EXPECT_LT(face.right(), label->width() - 1);
    EXPECT_GT(face.height(), 2 * QFontMetrics(label->font()).height());
    EXPECT_NEAR(face.center().y(), label->height() / 2, 6);
}

TEST(StyledLabel, DockedLabelsFollowTheirParentsEdges)
{
    QWidget parent;
    parent.resize(300, 200);
    StyledLabel top(&parent), bottom(&parent);
    top.resize(10, 57);
    bottom.resize(10, 42);
    top.setDock(StyledLabel::Dock::Top);
    bottom.setDock(StyledLabel::Dock::Bottom);
    EXPECT_EQ(bottom.geometry(), QRect(0, 158, 300, 42));
    parent.show(); // a hidden window keeps its resize events until it shows
    parent.resize(800, 600);
    EXPECT_EQ(top.geometry(), QRect(0, 0, 800, 57));
    EXPECT_EQ(bottom.geometry(), QRect(0, 558, 800, 42));
}

// On a denser screen the extrusion stays solid: no background pixel shows between two of its
// steps, as a thin stroke's steps would leave when one point of depth spans several pixels.
TEST(StyledLabel, ShadowHasNoGapsAtAnyScale)
{
    const QColor olive(128, 128, 0);
    for (const double scale : {1.0, 1.5, 2.0}) {
        StyledLabel label("Compare Machines");
        QFont font("Times New Roman");
        font.setPixelSize(23);
        label.setFont(font);
        label.setTextColor(Qt::blue);
        label.setShadow(olive, 4);
        label.resize(220, 34);
        QImage image(label.size() * scale, QImage::Format_RGB32);
        image.setDevicePixelRatio(scale);
        label.render(&image);
        const QColor ground = image.pixelColor(0, 0);
        int gaps = 0;
        for (int y = 1; y + 1 < image.height(); ++y)
            for (int x = 1; x + 1 < image.width(); ++x)
                gaps += image.pixelColor(x, y) == ground &&
                        image.pixelColor(x - 1, y - 1) == olive &&
                        image.pixelColor(x + 1, y + 1) == olive;
        EXPECT_EQ(gaps, 0) << scale;
    }
}
