#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QString>

// The base of every editor and dialog: a frameless, stay-on-top, application-modal window painted
// from its skin picture and sized by it. It is dragged by its title strip (LListwa), swallows Alt+F4
// and Esc, and opens its help page on F1. The application's Tab filter hands Tab presses to
// tabPressed() instead of moving the focus.
//
// A window derives from it, creates its controls at the places of SkinGeometry, calls
// addDragStrip() once, and shows itself with exec() after placeBy()/placeAt()/centreOnScreen().
class SkinnedWindow : public QDialog {
    Q_OBJECT

public:
    // skinName: the picture ":/skins/<skinName>.jpg"; helpPage: a page of the Pomoc folder.
    SkinnedWindow(const QString &skinName, const QString &helpPage, QWidget *parent = nullptr);

    const QString &skinName() const { return m_skinName; }
    const QString &helpPage() const { return m_helpPage; }
    bool skinLoaded() const { return !m_skin.isNull(); }

    void placeAt(QPoint topLeft);
    // At `origin`'s top left corner plus the offsets; centred on the screen when there is no origin.
    void placeBy(const QWidget *origin, int dx, int dy);
    void centreOnScreen();
    // Cuts each corner off diagonally by `size` pixels.
    void cutCorners(int size);

    QWidget *dragStrip() const { return m_dragStrip; }
    // Off: the strip does nothing (the main window in full-screen mode).
    void setDragEnabled(bool enabled) { m_dragEnabled = enabled; }

    // A Tab press anywhere in the window; the application's key filter has taken it away already.
    virtual void tabPressed() {}

signals:
    // The user dropped the window at a new place.
    void dragFinished(QPoint topLeft);

protected:
    // Creates the title strip LListwa over `area`; the window moves with the mouse dragged on it.
    QWidget *addDragStrip(const QRect &area);
    // By default a close request of the window system (Alt+F4, the task bar) is refused; the message
    // box lets it through to answer No.
    void setRefusesCloseRequests(bool refuses) { m_refusesCloseRequests = refuses; }
    // F1: opens the help page.
    virtual void helpRequested();

    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString m_skinName;
    QString m_helpPage;
    QImage m_skin;
    QWidget *m_dragStrip = nullptr;
    bool m_dragEnabled = true;
    bool m_dragging = false;
    QPoint m_dragOffset;
    bool m_refusesCloseRequests = true;
};
