#include "registry/UCamposCadastro.h"

#include "platform/UCampoCp1252.h"
#include "registry/UGrupoOpcoes.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

namespace cadastro {

QStringList Estados()
{
    return {QStringLiteral("AC"), QStringLiteral("AL"), QStringLiteral("AM"), QStringLiteral("AP"),
            QStringLiteral("BA"), QStringLiteral("CE"), QStringLiteral("DF"), QStringLiteral("ES"),
            QStringLiteral("GO"), QStringLiteral("MA"), QStringLiteral("MG"), QStringLiteral("MS"),
            QStringLiteral("MT"), QStringLiteral("PA"), QStringLiteral("PB"), QStringLiteral("PE"),
            QStringLiteral("PI"), QStringLiteral("PR"), QStringLiteral("RD"), QStringLiteral("RJ"),
            QStringLiteral("RN"), QStringLiteral("RO"), QStringLiteral("RS"), QStringLiteral("SC"),
            QStringLiteral("SE"), QStringLiteral("SP"), QStringLiteral("TO")};
}

QLineEdit* CriaTexto(QWidget* pai, const char* nome, int limite)
{
    auto* e = new QLineEdit(pai);
    e->setObjectName(QString::fromLatin1(nome));
    e->setMaxLength(limite);
    RestringeCp1252(e);
    return e;
}

QComboBox* CriaLista(QWidget* pai, const char* nome, const QStringList& itens, bool editavel,
                     int limite)
{
    auto* c = new QComboBox(pai);
    c->setObjectName(QString::fromLatin1(nome));
    c->setEditable(editavel);
    c->addItems(itens);
    c->setMaxVisibleItems(14);
    // The list's own delegate, so that the highlighted item is drawn in the sheet's colours.
    c->setItemDelegate(new QStyledItemDelegate(c));
    if (editavel) {
        c->setInsertPolicy(QComboBox::NoInsert);
        c->lineEdit()->setMaxLength(limite);
        RestringeCp1252(c->lineEdit());
    }
    c->setCurrentIndex(-1);
    return c;
}

QLabel* Rotulo(QGridLayout* grade, const QString& texto, QWidget* campo, int linha, int coluna)
{
    auto* r = new QLabel(texto, grade->parentWidget());
    r->setBuddy(campo);
    r->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grade->addWidget(r, linha, coluna);
    return r;
}

AbaEndereco CriaAbaEndereco(const QStringList& estados, bool estadoEditavel, const char* nomeCep)
{
    AbaEndereco e;
    e.aba = new QWidget;
    e.aba->setObjectName(QStringLiteral("tshResidencial"));
    auto* r = new QGridLayout(e.aba);
    r->setContentsMargins(12, 12, 12, 12);
    r->setHorizontalSpacing(8);
    r->setVerticalSpacing(7);
    e.rua = CriaTexto(e.aba, "dbeRua", 40);
    e.complemento = CriaTexto(e.aba, "dbeComplemento", 25);
    e.bairro = CriaTexto(e.aba, "dbeBairro", 30);
    e.cidade = CriaTexto(e.aba, "dbeCidade", 40);
    e.estado = CriaLista(e.aba, "dbcEstado", estados, estadoEditavel, 2);
    e.cep = CriaTexto(e.aba, nomeCep, 9);
    e.fone = CriaTexto(e.aba, "dbeFone", 11);
    e.celular = CriaTexto(e.aba, "dbeCelular", 11);
    int l = 0;
    Rotulo(r, QStringLiteral("Rua:"), e.rua, l, 0);
    r->addWidget(e.rua, l++, 1, 1, 3);
    Rotulo(r, QStringLiteral("Complemento:"), e.complemento, l, 0);
    r->addWidget(e.complemento, l, 1);
    Rotulo(r, QStringLiteral("Bairro:"), e.bairro, l, 2);
    r->addWidget(e.bairro, l++, 3);
    Rotulo(r, QStringLiteral("Cidade:"), e.cidade, l, 0);
    r->addWidget(e.cidade, l, 1);
    Rotulo(r, QStringLiteral("Estado:"), e.estado, l, 2);
    r->addWidget(e.estado, l++, 3);
    Rotulo(r, QStringLiteral("CEP:"), e.cep, l, 0);
    r->addWidget(e.cep, l++, 1);
    Rotulo(r, QStringLiteral("Fone:"), e.fone, l, 0);
    r->addWidget(e.fone, l, 1);
    Rotulo(r, QStringLiteral("Celular:"), e.celular, l, 2);
    r->addWidget(e.celular, l++, 3);
    r->setRowStretch(l, 1);
    r->setColumnStretch(1, 3);
    r->setColumnStretch(3, 2);
    OrdemDeLeitura(r);
    return e;
}

void OrdemDeLeitura(QGridLayout* grade)
{
    struct Campo {
        int linha, coluna;
        QWidget* w;
    };
    QList<Campo> campos;
    for (int i = 0; i < grade->count(); ++i) {
        QWidget* w = grade->itemAt(i)->widget();
        if (!w || qobject_cast<QLabel*>(w))
            continue;
        int linha, coluna, linhas, colunas;
        grade->getItemPosition(i, &linha, &coluna, &linhas, &colunas);
        campos.append({linha, coluna, w});
    }
    std::stable_sort(campos.begin(), campos.end(), [](const Campo& a, const Campo& b) {
        return a.linha != b.linha ? a.linha < b.linha : a.coluna < b.coluna;
    });
    for (int i = 1; i < campos.size(); ++i)
        QWidget::setTabOrder(campos[i - 1].w, campos[i].w);
}

void DefineTextoLista(QComboBox* lista, const QString& valor)
{
    if (lista->isEditable()) {
        const int i = lista->findText(valor, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        lista->setCurrentIndex(i);
        lista->setEditText(valor);
        return;
    }
    if (valor.isEmpty()) {
        lista->setCurrentIndex(lista->findText(QString(), Qt::MatchFixedString | Qt::MatchCaseSensitive));
        return;
    }
    int i = lista->findText(valor, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (i < 0) {
        lista->addItem(valor);
        i = lista->count() - 1;
    }
    lista->setCurrentIndex(i);
}

QString TextoLista(const QComboBox* lista)
{
    return lista->isEditable() ? lista->currentText() : (lista->currentIndex() < 0 ? QString() : lista->currentText());
}

void DefineEditavel(QWidget* campo, bool editavel)
{
    if (auto* e = qobject_cast<QLineEdit*>(campo)) {
        e->setReadOnly(!editavel);
    } else if (auto* g = qobject_cast<TGrupoOpcoes*>(campo)) {
        g->DefineSomenteLeitura(!editavel);
    } else if (auto* l = qobject_cast<QComboBox*>(campo)) {
        // A read-only list keeps its value legible but ignores the mouse and the keyboard.
        l->setAttribute(Qt::WA_TransparentForMouseEvents, !editavel);
        l->setFocusPolicy(editavel ? Qt::StrongFocus : Qt::NoFocus);
        if (QLineEdit* e = l->lineEdit()) {
            e->setReadOnly(!editavel);
            e->setAttribute(Qt::WA_TransparentForMouseEvents, !editavel);
            e->setFocusPolicy(editavel ? Qt::StrongFocus : Qt::NoFocus);
            e->setProperty("somenteLeitura", !editavel);
            e->style()->unpolish(e);
            e->style()->polish(e);
        }
    }
    campo->setProperty("somenteLeitura", !editavel);
    // The style sheet depends on the property: have it looked at again.
    campo->style()->unpolish(campo);
    campo->style()->polish(campo);
}

bool Editavel(const QWidget* campo)
{
    if (auto* e = qobject_cast<const QLineEdit*>(campo))
        return !e->isReadOnly();
    if (auto* g = qobject_cast<const TGrupoOpcoes*>(campo))
        return !g->SomenteLeitura();
    return !campo->property("somenteLeitura").toBool();
}

QString EstiloCadastro()
{
    return QStringLiteral(
        "QDialog { background: #f4f7fa; }"
        "QTabWidget::pane { border: 1px solid #b8c7d6; background: #ffffff; top: -1px; }"
        "QTabBar::tab { padding: 5px 14px; border: 1px solid #b8c7d6; border-bottom: none;"
        " background: #e4ebf2; margin-right: 2px; }"
        "QTabBar::tab:selected { background: #ffffff; color: #0a203e; }"
        "QLineEdit { min-height: 22px; padding: 0 4px; border: 1px solid #a9b8c8;"
        " border-radius: 3px; background: #ffffff; }"
        "QLineEdit[somenteLeitura=\"true\"] { background: #eef2f6; color: #1c2b3a; }"
        "QLineEdit:focus { border-color: #3d8fd1; }"
        // A list framed like the text fields, so that its arrow is drawn inside the frame (a
        // sheet that only sized the list left the arrow cut by the frame).
        "QComboBox { min-height: 22px; padding: 0 4px; border: 1px solid #a9b8c8;"
        " border-radius: 3px; background: #ffffff; }"
        "QComboBox[somenteLeitura=\"true\"] { background: #eef2f6; color: #1c2b3a; }"
        "QComboBox:focus { border-color: #3d8fd1; }"
        "QComboBox QLineEdit, QComboBox QLineEdit[somenteLeitura=\"true\"] { border: none;"
        " min-height: 0px; padding: 0 1px; background: transparent; }"
        "QGroupBox { border: 1px solid #c9d5e1; border-radius: 3px; margin-top: 0px; }"
        "QComboBox QAbstractItemView { background: #ffffff; color: #1c2b3a;"
        " selection-background-color: #2f6db0; selection-color: #ffffff; }"
        // The same look whichever form opened the registry: nothing of its sheet shows here.
        "QLabel { color: #1c2b3a; font-weight: normal; }"
        "QLabel#lblCodigo { color: #0a203e; font-weight: bold; }"
        "QLabel#dbtCodigo { color: #0a203e; font-weight: bold; }");
}

} // namespace cadastro
