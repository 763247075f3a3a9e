#pragma once
// The pictures of the Frames window: the strip of every frame as a small picture with its
// number and name (and a glyph's character), the player that shows one frame at a pixel
// size of its own, and a font's sample line. They draw the cells in their display colours;
// the strip and the player read the frames from the session.

#include <QWidget>

#include "editor/Session.h"
#include "formats/FontSample.h"

namespace stipple::ui {

// The width and height of the largest frame of the set, in cells.
QSize largestFrame(const Document& document);

class FramesStrip final : public QWidget {
    Q_OBJECT
  public:
    FramesStrip(const Session& session, QWidget* parent);

    // Lays the frames out again: after frames came, went or moved, or a size changed.
    void rebuild();
    // Repaints the current frame's slot, or only its cell (x, y), 1-based, when one is named.
    void refreshCurrent(int cellX = 0, int cellY = 0);

    // The place of frame `index` (0-based) in the strip, and the frame under a point, or -1.
    QRect slotRect(int index) const;
    int frameAt(QPoint at) const;
    // Where frame `index`'s cells are drawn, centred in the room of the largest frame.
    QRect pictureRect(int index) const;

  signals:
    // A click or a key chose frame `index`, which may lie outside the set.
    void frameChosen(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    const Session& session_;
    int scale_ = 2;  // screen pixels a cell
    QSize box_;      // the room of the largest frame at that scale
    QSize slot_;
};

class FramesPlayer final : public QWidget {
    Q_OBJECT
  public:
    FramesPlayer(const Session& session, QWidget* parent);

    // Shows frame `index`, held to the set.
    void showFrame(int index);
    int shownFrame() const { return shown_; }
    void setPixelSize(int size);
    int pixelSize() const { return pixelSize_; }
    // Takes the set's frames again: their count and the largest size.
    void refresh();
    // Repaints the frame shown, or only its cell (x, y), 1-based, when one is named.
    void refreshCell(int cellX, int cellY);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // Where the shown frame's cells are drawn.
    QRect pictureRect() const;

    const Session& session_;
    int shown_ = 0;
    int pixelSize_ = 4;
};

// A line of text drawn with a font set, at a pixel size of its own; transparent cells show
// the window's background.
class SampleLineView final : public QWidget {
    Q_OBJECT
  public:
    explicit SampleLineView(QWidget* parent);

    void showLine(SampleLine line);
    const SampleLine& line() const { return line_; }
    void setPixelSize(int size);
    int pixelSize() const { return pixelSize_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    SampleLine line_;
    int pixelSize_ = 2;
};

}  // namespace stipple::ui
