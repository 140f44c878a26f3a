#pragma once
// The contact-lens fitting window: the fluorescein picture of a rigid lens on the cornea of
// one examination, the lens parameters (a first lens from the flat K, changed by the user
// with the picture redrawn at once), the clearance profiles along the principal meridians
// and the reading of the fit; print, PNG and PDF.

#include "plugins/lentes/UFluoresceina.h"

#include <QDialog>

#include <array>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

class TfrmLente : public QDialog {
    Q_OBJECT
public:
    // central: the examination's central image (null: a schematic eye); notas: what the
    // checks of the examination left out.
    TfrmLente(std::unique_ptr<TExameConferido> exame, const QImage& central, double centroX, double centroY,
              const QStringList& cabecalho, const QStringList& notas, QWidget* pai = nullptr);
    ~TfrmLente() override;

    const ParametrosLente& Lente() const { return m_lente; }
    const ResultadoLente& Resultado() const { return m_resultado; }
    const AdaptacaoLente& Adaptacao() const { return *m_adaptacao; }
    // Sets a lens and redraws (false and the field note when a value is not allowed).
    bool DefineLente(const ParametrosLente& p);
    QStringList Resumo() const;
    QImage ImagemConteudo() const;

public slots:
    void CampoEditado(int campo);
    void btnSugerirClick();

private:
    void Atualiza();
    void MostraCampos();

    std::unique_ptr<TExameConferido> m_exame;
    std::unique_ptr<AdaptacaoLente> m_adaptacao;
    QImage m_fundo;
    QStringList m_notas;
    ParametrosLente m_lente;
    ResultadoLente m_resultado;
    QWidget* m_conteudo = nullptr;
    QLabel* m_imagem = nullptr;
    QLabel* m_perfis = nullptr;
    QLabel* m_resultadoTexto = nullptr;
    QLabel* m_aviso = nullptr;
    std::array<QLineEdit*, 6> m_campos{};
};
