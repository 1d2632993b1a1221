#include "question/TFZegar.h"

#include "toolkit/SkinGeometry.h"

#include <QLabel>
#include <QMovie>
#include <QTimer>

using namespace Qt::StringLiterals;

TFZegar::TFZegar(QWidget *parent) : SkinnedWindow(u"FZegar"_s, u"zegar.htm"_s, parent)
{
    m_icon = new QLabel(this);
    m_icon->setObjectName(u"ImZapisIkona"_s);
    m_icon->setGeometry(SkinGeometry::Zegar::icon);
    m_movie = new QMovie(u":/anim/zapis.gif"_s, QByteArray(), this);
    m_movie->setCacheMode(QMovie::CacheAll);
    m_icon->setMovie(m_movie);
    m_movie->jumpToFrame(0);

    m_timer = new QTimer(this);
    m_timer->setObjectName(u"Zegar"_s);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &TFZegar::timeUp);
}

void TFZegar::showAt(int x, int y)
{
    placeAt({x, y});
    m_movie->start();
    m_timer->start(m_duration);
    exec();
}

void TFZegar::timeUp()
{
    m_timer->stop();
    m_movie->stop();
    m_movie->jumpToFrame(0);
    done(0);
}
