#pragma once
// The one reader of an examination's data files. The navigator, the measurement screen and
// the report editor share one instance; each CarregaExame replaces what it holds, so a
// caller loads the examination it needs right before it uses it.

#include "examfiles/zr_exame.h"

#include <QString>
#include <memory>

class TBMapOperation {
public:
    TBMapOperation();
    ~TBMapOperation();
    TBMapOperation(const TBMapOperation&) = delete;
    TBMapOperation& operator=(const TBMapOperation&) = delete;

    // Loads prefixo + "m.txt", then prefixo + "d.txt", then prefixo + "a.txt" (prefixo is the
    // patient folder and the exam code, or an example's prefix; see PrefixoExame). A missing
    // file is reported ("Arquivo m.txt não encontrado!", caption "Erro") and the result is
    // false; the later files are then not read. A malformed file raises ErroConversao and an
    // unreadable one ErroES. Cells a file does not fill read 0. After a load that did not
    // complete the reader holds an empty examination (all zeros), never a mix with the one
    // loaded before.
    bool CarregaExame(const QString& prefixo, QChar separador = u'.');

    // The loaded data. The dioptre matrix is writable: the map computation converts it in
    // place, which is why callers load again before every computation.
    TMatrizAngAnel& Dioptrias() { return m_exame->d; }
    const TMatrizAngAnel& Dioptrias() const { return m_exame->d; }
    const TMatrizAngAnel& Posicoes() const { return m_exame->m; }
    const TAneisMeridiano& AneisPorMeridiano() const { return m_exame->aneis; }
    const TDadosPupila& Pupila() const { return m_exame->pupila; }
    double CentroX() const { return m_exame->centroX; }
    double CentroY() const { return m_exame->centroY; }
    // In place, for callers that hand the centre on by reference.
    double& RefCentroX() { return m_exame->centroX; }
    double& RefCentroY() { return m_exame->centroY; }

    // Copies into buffers of the caller (callers that hold several examinations).
    void CopiaDioptrias(TMatrizAngAnel& destino) const;
    void CopiaPosicoes(TMatrizAngAnel& destino) const;
    void CopiaAneis(TAneisMeridiano& destino) const;
    void CopiaPupila(TDadosPupila& destino) const;

    // Full names of the three files of the last load.
    const QString& ArquivoD() const { return m_arquivoD; }
    const QString& ArquivoM() const { return m_arquivoM; }
    const QString& ArquivoA() const { return m_arquivoA; }

    struct Exame {
        TMatrizAngAnel d;
        TMatrizAngAnel m;
        TAneisMeridiano aneis;
        TDadosPupila pupila;
        double centroX;
        double centroY;
    };

private:
    std::unique_ptr<Exame> m_exame;
    std::unique_ptr<Exame> m_leitura; // buffer of the load in progress
    QString m_arquivoD, m_arquivoM, m_arquivoA;
};
