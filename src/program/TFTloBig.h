#pragma once

#include "program/MainCommands.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

// The background window and the application's main window: the program ends when it closes, and it
// refuses to close while the main window (FGlowny) is visible. Its only content is the 1920 × 1200
// background picture. In window mode 1 it covers the work area behind the main window; in mode 0 it
// keeps one pixel hidden under the main window. Files dropped on it open by their extension.
class TFTloBig : public QWidget {
    Q_OBJECT

public:
    explicit TFTloBig(MainCommands &commands, QWidget *parent = nullptr);

    void setMainWindow(QWidget *mainWindow) { m_mainWindow = mainWindow; }
    // Takes the place the window placement gives; an unknown mode moves nothing.
    void applyPlacement(const WindowPlacement &placement);
    // Where the picture's top left corner stands in the window (negative when the window is smaller).
    QPoint pictureOffset() const { return m_pictureOffset; }
    bool hasVisibleArea() const { return m_covering; }
    // Window mode 0: the one pixel moves under the middle of the main window at `mainTopLeft`.
    void followMainWindow(QPoint mainTopLeft);

signals:
    // Once, the first time the window is shown: the program starts up.
    void firstShown();
    // The window has closed: the program ends.
    void closed();
    // The window came back from the task bar after being minimised.
    void restored();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    MainCommands &m_commands;
    QPointer<QWidget> m_mainWindow;
    QImage m_picture;
    QPoint m_pictureOffset;
    bool m_covering = false;
    bool m_placed = false;
    bool m_shownOnce = false;
};
