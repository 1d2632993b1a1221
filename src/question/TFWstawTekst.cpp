#include "question/TFWstawTekst.h"

#include "toolkit/SkinGeometry.h"

#include <QLabel>
#include <QListWidget>

using namespace Qt::StringLiterals;
namespace G = SkinGeometry::Wstaw;

namespace {
// A long text would only slow the label down: the panel shows far less.
constexpr int kShownCharacters = 3000;
} // namespace

TFWstawTekst::TFWstawTekst(QuestionEditor &editor, QWidget *parent)
    : TFWstaw(editor, AttachmentCommands::Kind::Text, u"FWstawTekst"_s, u"wstaw_tekst.htm"_s,
              {{u"LNewTekst", u"LOldTekst", u"LListaTekstow", u"LUsunTekst"},
               {u"Nowy plik z dysku ...", u"Ostatnio dołączony", u"Teksty w teście", u"Usuń tekst z pytania"},
               {u"Wskaż plik tekstowy (.txt) na dysku.", u"Dołącz tekst pokazany obok.",
                u"Wybierz jeden z tekstów, które test już zawiera.", u"Odłącz tekst od tego pytania."},
               u"FWstawTekstSolo",
               u"ImAnulujWstawTekst"},
              parent)
{
    m_fragment = new QLabel(this);
    m_fragment->setObjectName(u"LFragmentTekstu"_s);
    m_fragment->setGeometry(G::preview.adjusted(10, 8, -10, -8));
    m_fragment->setTextFormat(Qt::PlainText);
    m_fragment->setWordWrap(true);
    m_fragment->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_listPanel->setObjectName(u"PListaTekstow"_s);
    QPalette pal = m_listPanel->palette();
    pal.setColor(QPalette::Window, QColor(233, 237, 240));
    m_listPanel->setPalette(pal);
    auto *heading = new QLabel(u"Teksty w teście – kliknij tekst, aby go dołączyć"_s, m_listPanel);
    heading->setGeometry(0, 0, G::list.width(), 24);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    m_listBox = new QListWidget(m_listPanel);
    m_listBox->setObjectName(u"LBListaTekstow"_s);
    m_listBox->setGeometry(m_listPanel->rect().adjusted(0, 24, 0, 0));
    m_listBox->setWordWrap(true);
    m_listBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_listBox->setStyleSheet(u"QListWidget { border: 1px solid #b4c2cc; background: #ffffff; }"
                             u" QListWidget::item { padding: 3px 6px; border-bottom: 1px solid #e3eaf0; }"
                             u" QListWidget::item:hover { background: #fbf3e2; }"_s);
    connect(m_listBox, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { finish(m_commands.pickFromList(m_listBox->row(item))); });
}

QString TFWstawTekst::previewText() const
{
    return m_fragment->text();
}

void TFWstawTekst::showKindState()
{
    QString shown = m_commands.textPreview.left(kShownCharacters);
    m_fragment->setText(shown.replace(u'\r', u'\n'));
    m_listBox->clear();
    for (qsizetype i = 0; i < m_commands.listLines.size(); ++i) {
        const QString &line = m_commands.listLines[i];
        auto *item =
            new QListWidgetItem(line.isEmpty() ? u"(%1)"_s.arg(m_commands.testNames.value(i)) : line);
        item->setToolTip(m_commands.testNames.value(i));
        m_listBox->addItem(item);
    }
}
