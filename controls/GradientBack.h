#pragma once

#include <QColor>
#include <QWidget>
#include <array>

// The vertical colour gradient behind the main window and the About box. It always covers its
// parent's whole client area and stays below its siblings.
class TGradientBack : public QWidget
{
    Q_OBJECT

public:
    static constexpr int colourCount = 256;
    using ColourTable = std::array<QColor, colourCount>;

    explicit TGradientBack(QWidget *parent = nullptr);

    // True: full blue at the top shading to black; false: blue shading through purple to red.
    bool isAllBlue() const { return allBlue; }
    // Stores the choice only; the new colours show with the next repaint.
    void setIsAllBlue(bool value) { allBlue = value; }

    const ColourTable &allBlueTable() const { return allBlueColours; }
    const ColourTable &blueToRedTable() const { return blueToRedColours; }

    // The band layout for a height: every band is bandHeight() rows high; band i starts at
    // bandTop(height, i). Bands overlap by about a row so that rounding leaves no gap.
    static int bandHeight(int height);
    static int bandTop(int height, int band);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillParent();

    bool allBlue = false;
    ColourTable allBlueColours;
    ColourTable blueToRedColours;
};
