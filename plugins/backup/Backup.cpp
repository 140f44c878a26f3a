// The backup module. The medium is a destination folder, kept as "Destino" in the program's
// BackUp.ini (the host names that file in ZR_BACKUP_INI before each call). Every copied file
// goes through a temporary name, is checked by its SHA-256 and then renamed; the manifest
// "manifesto.txt" in the destination lists every file the medium holds (relative path,
// size, SHA-256). The restore checks the manifest and every file before it copies any, and
// moves a file on disk that differs from the medium's copy into a dated safety folder
// instead of overwriting it.
//
// With ZR_MODULOS_AUTOMATICO=1 (or without a widget application) no window opens: the
// destination is "Destino" and messages go to the standard error output.

#include "common/UErros.h"
#include "common/UTextoCp1252.h"
#include "config/UArquivoIni.h"
#include "modules/zr_modulos.h"

#include <QApplication>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMap>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QStorageInfo>
#include <QVBoxLayout>

#include <cstdio>

using namespace zrmod;

namespace {

const QString kSecao = QStringLiteral("BACKUP");
const QString kManifesto = QStringLiteral("manifesto.txt");

bool Automatico()
{
    return qEnvironmentVariable("ZR_MODULOS_AUTOMATICO") == QLatin1String("1") ||
           !qobject_cast<QApplication*>(QCoreApplication::instance());
}

QString ArquivoIni() { return qEnvironmentVariable("ZR_BACKUP_INI"); }

QString Chave(const QString& chave, const QString& padrao = QString())
{
    QString v;
    return ArquivoIni::Le(ArquivoIni(), kSecao, chave, v) ? v : padrao;
}

int ChaveInteira(const QString& chave)
{
    bool ok = false;
    const int n = Chave(chave).trimmed().toInt(&ok);
    return ok ? n : 0;
}

void Aviso(void* janela, const QString& texto)
{
    if (Automatico()) {
        std::fprintf(stderr, "Backup: %s\n", qPrintable(texto));
        return;
    }
    QMessageBox::critical(static_cast<QWidget*>(janela), QStringLiteral("Backup"), texto);
}

bool DestinoUtilizavel(const QString& destino)
{
    const QFileInfo info(destino);
    return !destino.isEmpty() && info.isDir() && info.isWritable();
}

QString Livre(const QString& destino)
{
    const QStorageInfo v(destino);
    return v.isValid() ? QString::number(v.bytesAvailable() / (1024 * 1024)) + QStringLiteral(" MB") : QStringLiteral("-");
}

QByteArray Resumo(const QString& caminho, qint64* tamanho = nullptr)
{
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    if (tamanho)
        *tamanho = f.size();
    QCryptographicHash h(QCryptographicHash::Sha256);
    h.addData(&f);
    return h.result().toHex();
}

struct Item {
    qint64 tamanho = 0;
    QByteArray resumo;
};
using Manifesto = QMap<QString, Item>; // relative path on the medium -> size, SHA-256

bool LeManifesto(const QString& destino, Manifesto& m)
{
    QFile f(destino + u'/' + kManifesto);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    for (const QString& linha : DivideLinhas(DeCp1252(f.readAll()))) {
        const QStringList p = linha.split(u'|');
        if (p.size() != 3)
            return false;
        m.insert(p[0], {p[1].toLongLong(), p[2].toLatin1()});
    }
    return true;
}

void GravaManifesto(const QString& destino, const Manifesto& m)
{
    QStringList linhas;
    for (auto it = m.cbegin(); it != m.cend(); ++it)
        linhas << it.key() + u'|' + QString::number(it.value().tamanho) + u'|' + QString::fromLatin1(it.value().resumo);
    GravaArquivoTexto(destino + u'/' + kManifesto, linhas);
}

// Copies through a temporary name, checks the copy's SHA-256 against the source's and
// renames it into place. Examination and report files are small: each is read once.
bool CopiaConferida(const QString& origem, const QString& destino, Item& item)
{
    QFile o(origem);
    if (!o.open(QIODevice::ReadOnly))
        return false;
    const QByteArray conteudo = o.readAll();
    if (o.error() != QFileDevice::NoError)
        return false;
    item.tamanho = conteudo.size();
    item.resumo = QCryptographicHash::hash(conteudo, QCryptographicHash::Sha256).toHex();
    const QString pasta = QFileInfo(destino).path();
    if (!QFileInfo(pasta).isDir())
        QDir().mkpath(pasta);
    const QString temporario = destino + QStringLiteral(".tmp");
    QFile t(temporario);
    if (!t.open(QIODevice::WriteOnly | QIODevice::Truncate) || t.write(conteudo) != conteudo.size() || !t.flush()) {
        t.close();
        QFile::remove(temporario);
        return false;
    }
    t.close();
    if (Resumo(temporario) != item.resumo) {
        QFile::remove(temporario);
        return false;
    }
    QFile::remove(destino);
    return QFile::rename(temporario, destino);
}

QStringList Linhas(ZrStream* s)
{
    const int64_t n = s->size(s);
    QByteArray b(static_cast<qsizetype>(n), '\0');
    s->seek(s, 0, ZR_DO_INICIO);
    if (n > 0)
        s->read(s, b.data(), n);
    return DivideLinhas(DeCp1252(b));
}

void Escreve(ZrStream* s, const QString& texto)
{
    const QByteArray b = ParaCp1252(texto + QStringLiteral("\r\n"));
    s->write(s, b.constData(), b.size());
}

// The destination window: removable volumes first, any folder through the chooser.
class JanelaDestino : public QDialog {
public:
    JanelaDestino(QWidget* pai, const QString& atual) : QDialog(pai)
    {
        setObjectName(QStringLiteral("frmDestinoBackup"));
        setWindowTitle(QStringLiteral("Backup - destino"));
        auto* v = new QVBoxLayout(this);
        v->addWidget(new QLabel(QStringLiteral("Pasta de destino do backup:"), this));
        auto* h = new QHBoxLayout;
        m_destino = new QComboBox(this);
        m_destino->setObjectName(QStringLiteral("cbxDestino"));
        m_destino->setEditable(true);
        m_destino->setMinimumWidth(340);
        for (const QStorageInfo& vol : QStorageInfo::mountedVolumes()) {
            const QString raiz = vol.rootPath();
            if (vol.isReady() && !vol.isReadOnly() &&
                (raiz.startsWith(QLatin1String("/media/")) || raiz.startsWith(QLatin1String("/run/media/")) ||
                 raiz.startsWith(QLatin1String("/mnt/"))))
                m_destino->addItem(raiz);
        }
        if (!atual.isEmpty() && m_destino->findText(atual) < 0)
            m_destino->insertItem(0, atual);
        m_destino->setCurrentText(atual.isEmpty() ? m_destino->itemText(0) : atual);
        h->addWidget(m_destino);
        auto* escolher = new QPushButton(QStringLiteral("Escolher pasta..."), this);
        escolher->setObjectName(QStringLiteral("btnEscolherPasta"));
        h->addWidget(escolher);
        v->addLayout(h);
        m_livre = new QLabel(this);
        m_livre->setObjectName(QStringLiteral("lblLivre"));
        v->addWidget(m_livre);
        auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        botoes->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Copiar"));
        botoes->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
        v->addWidget(botoes);
        connect(botoes, &QDialogButtonBox::accepted, this, [this] {
            if (DestinoUtilizavel(Destino()))
                accept();
            else
                QMessageBox::warning(this, QStringLiteral("Backup"),
                                     QStringLiteral("A pasta de destino não existe ou não pode ser gravada. Escolha "
                                                    "outra."));
        });
        connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
        connect(escolher, &QPushButton::clicked, this, [this] {
            const QString p = QFileDialog::getExistingDirectory(this, QStringLiteral("Pasta de destino"), Destino());
            if (!p.isEmpty())
                m_destino->setCurrentText(p);
        });
        connect(m_destino, &QComboBox::currentTextChanged, this, [this] { Atualiza(); });
        Atualiza();
    }
    QString Destino() const { return m_destino->currentText().trimmed(); }

private:
    void Atualiza()
    {
        m_livre->setText(DestinoUtilizavel(Destino()) ? QStringLiteral("Espaço livre: ") + Livre(Destino())
                                                      : QStringLiteral("Destino indisponível"));
    }
    QComboBox* m_destino;
    QLabel* m_livre;
};

int32_t Criar(void* janela, ZrStream* exames, ZrStream* tagsExames, ZrStream* laudos, ZrStream* tagsLaudos,
              const QString& raizExames, const QString& raizLaudos)
{
    QString destino = Chave(QStringLiteral("Destino"));
    if (Automatico()) {
        if (!DestinoUtilizavel(destino)) {
            Aviso(janela, QStringLiteral("A pasta de destino do backup não está disponível: \"%1\".").arg(destino));
            return -1;
        }
    } else {
        JanelaDestino j(static_cast<QWidget*>(janela), destino);
        if (j.exec() != QDialog::Accepted)
            return -1;
        destino = j.Destino();
        ArquivoIni::Escreve(ArquivoIni(), kSecao, QStringLiteral("Destino"), destino);
    }

    const QStringList listaExames = Linhas(exames), listaLaudos = Linhas(laudos);
    QList<QPair<QString, QString>> copias; // source, path on the medium
    for (const QString& a : listaExames)
        if (QFileInfo::exists(raizExames + u'/' + a))
            copias.append({raizExames + u'/' + a, QStringLiteral("Exames/") + a});
    for (const QString& a : listaLaudos)
        if (QFileInfo::exists(raizLaudos + u'/' + a))
            copias.append({raizLaudos + u'/' + a, QStringLiteral("Laudos/") + a});

    Manifesto manifesto;
    LeManifesto(destino, manifesto);
    std::unique_ptr<QProgressDialog> progresso;
    if (!Automatico()) {
        progresso = std::make_unique<QProgressDialog>(QStringLiteral("Copiando os arquivos..."),
                                                      QStringLiteral("Cancelar"), 0, int(copias.size()),
                                                      static_cast<QWidget*>(janela));
        progresso->setWindowTitle(QStringLiteral("Backup"));
        progresso->setWindowModality(Qt::WindowModal);
        progresso->setMinimumDuration(0);
    }
    for (qsizetype i = 0; i < copias.size(); ++i) {
        if (progresso) {
            progresso->setValue(int(i));
            if (progresso->wasCanceled())
                return -1;
        }
        Item item;
        if (!CopiaConferida(copias[i].first, destino + u'/' + copias[i].second, item)) {
            Aviso(janela, QStringLiteral("Não foi possível copiar \"%1\" para o destino do backup.").arg(copias[i].first));
            return -1;
        }
        manifesto.insert(copias[i].second, item);
        // The manifest is kept current every so often, so an interruption loses little.
        if (i % 200 == 199)
            GravaManifesto(destino, manifesto);
    }
    GravaManifesto(destino, manifesto);
    if (progresso)
        progresso->setValue(int(copias.size()));

    const int disco = ChaveInteira(QStringLiteral("DiscoAtual"));
    const QString marca =
        QStringLiteral("ZRQK") + QStringLiteral("%1").arg(qBound(0, disco, 9999), 4, 10, QLatin1Char('0'));
    const int nExames = int(listaExames.size() / 3), nLaudos = int(listaLaudos.size());
    for (int i = 0; i < nExames; ++i)
        Escreve(tagsExames, marca);
    for (int i = 0; i < nLaudos; ++i)
        Escreve(tagsLaudos, marca);
    auto soma = [](const QString& chave, int n) {
        ArquivoIni::Escreve(ArquivoIni(), kSecao, chave, QString::number(ChaveInteira(chave) + n));
    };
    soma(QStringLiteral("NumExamDisco"), nExames);
    soma(QStringLiteral("NumExamGeral"), nExames);
    soma(QStringLiteral("NumLauDisco"), nLaudos);
    soma(QStringLiteral("NumArquivos"), int(listaExames.size()));
    soma(QStringLiteral("NumArquivosLau"), nLaudos);
    soma(QStringLiteral("ArquivosGeral"), int(copias.size()));
    const QString agora = QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    ArquivoIni::Escreve(ArquivoIni(), kSecao, QStringLiteral("UltBkp"), agora);
    ArquivoIni::Escreve(ArquivoIni(), kSecao, QStringLiteral("UltDsk"), agora);
    return 0;
}

int32_t Restaurar(void* janela, const QString& raizExames, const QString& raizLaudos)
{
    const QString destino = Chave(QStringLiteral("Destino"));
    const QString nada = QStringLiteral("\r\nNada foi restaurado.");
    Manifesto manifesto;
    if (!QFileInfo(destino).isDir()) {
        Aviso(janela, QStringLiteral("A pasta do backup não está disponível: \"%1\".").arg(destino) + nada);
        return -1;
    }
    if (!LeManifesto(destino, manifesto)) {
        Aviso(janela, QStringLiteral("O backup em \"%1\" não tem a lista dos arquivos (%2) ou ela está danificada.")
                          .arg(destino, kManifesto) + nada);
        return -1;
    }
    // Every file is checked before any is copied.
    for (auto it = manifesto.cbegin(); it != manifesto.cend(); ++it) {
        const QString arquivo = destino + u'/' + it.key();
        qint64 tamanho = -1;
        const QByteArray r = Resumo(arquivo, &tamanho);
        if (r.isEmpty() || tamanho != it.value().tamanho || r != it.value().resumo) {
            Aviso(janela, QStringLiteral("O arquivo \"%1\" do backup está danificado ou ausente.").arg(it.key()) + nada);
            return -1;
        }
    }
    const QString carimbo = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HHmmss"));
    for (auto it = manifesto.cbegin(); it != manifesto.cend(); ++it) {
        const bool exame = it.key().startsWith(QLatin1String("Exames/"));
        const QString raiz = exame ? raizExames : raizLaudos;
        const QString relativo = it.key().mid(7); // after "Exames/" or "Laudos/"
        const QString alvo = raiz + u'/' + relativo;
        if (QFileInfo::exists(alvo)) {
            if (Resumo(alvo) == it.value().resumo)
                continue;
            const QString seguranca = raiz + QStringLiteral(" (segurança ") + carimbo + QStringLiteral(")/") + relativo;
            QDir().mkpath(QFileInfo(seguranca).path());
            if (!QFile::rename(alvo, seguranca)) {
                Aviso(janela, QStringLiteral("Não foi possível guardar \"%1\" antes de restaurá-lo.").arg(alvo));
                return -1;
            }
        }
        Item item;
        if (!CopiaConferida(destino + u'/' + it.key(), alvo, item)) {
            Aviso(janela, QStringLiteral("Não foi possível restaurar \"%1\".").arg(alvo));
            return -1;
        }
    }
    return 0;
}

} // namespace

ZR_ENTRADA int32_t InfoBackup(void* janela, ZrStream* estado, int32_t tres)
{
    (void)janela;
    (void)tres;
    try {
        const QString destino = Chave(QStringLiteral("Destino"));
        const bool pronto = DestinoUtilizavel(destino);
        const QString disco = QStringLiteral("%1").arg(qBound(0, ChaveInteira(QStringLiteral("DiscoAtual")), 9999), 4,
                                                       10, QLatin1Char('0'));
        Escreve(estado, QStringLiteral("Destino: ") + (destino.isEmpty() ? QStringLiteral("(não escolhido)") : destino));
        Escreve(estado, QStringLiteral("Situação: ") + (pronto ? QStringLiteral("disponível") : QStringLiteral("indisponível")));
        Escreve(estado, QStringLiteral("Espaço livre: ") + (pronto ? Livre(destino) : QStringLiteral("-")));
        const QString rotulo = pronto ? QStorageInfo(destino).name() : QString();
        Escreve(estado, QStringLiteral("Volume: ") + (rotulo.isEmpty() ? QStringLiteral("(sem rótulo)") : rotulo));
        Escreve(estado, QStringLiteral("Disco atual: ") + disco);
        Escreve(estado, QStringLiteral("Último backup realizado: ") +
                            Chave(QStringLiteral("UltBkp"), QStringLiteral("01/01/2007 00:00:00")).left(10));
        return pronto ? 'Z' : 0;
    } catch (...) {
        return 0;
    }
}
ZR_CONFERE_ENTRADA(InfoBackup, TInfoBackup);

ZR_ENTRADA int32_t CriarBackup(void* janela, ZrStream* exames, ZrStream* tagsExames, ZrStream* laudos,
                               ZrStream* tagsLaudos, int32_t tres, const char* raizExames, const char* raizLaudos)
{
    (void)tres;
    try {
        return Criar(janela, exames, tagsExames, laudos, tagsLaudos, DeCp1252(raizExames), DeCp1252(raizLaudos));
    } catch (const std::exception& e) {
        Aviso(janela, QString::fromUtf8(e.what()));
        return -1;
    } catch (...) {
        return -1;
    }
}
ZR_CONFERE_ENTRADA(CriarBackup, TCriarBackup);

ZR_ENTRADA int32_t RestaurarBackup(void* janela, const char* raizExames, const char* raizLaudos)
{
    try {
        return Restaurar(janela, DeCp1252(raizExames), DeCp1252(raizLaudos));
    } catch (const std::exception& e) {
        Aviso(janela, QString::fromUtf8(e.what()));
        return -1;
    } catch (...) {
        return -1;
    }
}
ZR_CONFERE_ENTRADA(RestaurarBackup, TRestaurarBackup);
