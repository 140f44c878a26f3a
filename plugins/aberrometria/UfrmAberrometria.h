#pragma once
// The aberrometry window: the Zernike decomposition of the corneal wavefront of one
// examination over a chosen pupil, its RMS values, the total and higher-order maps, the point
// spread function with its Strehl ratio and a letter chart seen through it; print headed by
// the clinic, PNG, PDF and the coefficients as text.

#include "plugins/aberrometria/UFrenteOnda.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QTableWidget;

// What the caller handed over, besides the grids.
struct DadosAberrometria {
    QStringList clinica;    // name, address, city and state, telephone
    QStringList cabecalho;  // the examination's header lines
    QSize tamanhoMapa{350, 350};
    double z0 = 0;
    double raioPupila = 3.0;
    int modelo = 0, numAneis = 0;
    QString tipoCone;
    QStringList notas;
};

class TfrmAberrometria : public QDialog {
    Q_OBJECT
public:
    TfrmAberrometria(std::unique_ptr<TExameConferido> exame, const DadosAberrometria& dados, QWidget* pai = nullptr);
    ~TfrmAberrometria() override;

    const Aberrometria::ResultadoFrente& Resultado() const { return m_resultado; }
    const Aberrometria::Psf& PsfAtual() const { return m_psf; }
    // Pupil diameter in mm (3, 4, 5 or 6): computes and redraws.
    void DefinePupila(double diametro);
    QStringList Resumo() const;
    QImage ImagemConteudo() const;
    bool ExportaTexto(const QString& arquivo);

public slots:
    void cmbPupilaChange(int indice);
    void btnTextoClick();

private:
    void Calcula(double raio);
    QStringList Cabecalho() const;

    std::unique_ptr<TExameConferido> m_exame;
    DadosAberrometria m_dados;
    Aberrometria::ResultadoFrente m_resultado;
    Aberrometria::Psf m_psf;
    QWidget* m_conteudo = nullptr;
    QComboBox* m_pupila = nullptr;
    QLabel* m_mapaTotal = nullptr;
    QLabel* m_mapaAlta = nullptr;
    QLabel* m_imgPsf = nullptr;
    QLabel* m_optotipos = nullptr;
    QLabel* m_resumo = nullptr;
    QLabel* m_tecnicos = nullptr;
    QTableWidget* m_tabela = nullptr;
};
