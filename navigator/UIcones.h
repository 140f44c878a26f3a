#pragma once
// The navigator's own pictures, drawn at any size so that they stay sharp: toolbar buttons,
// the examination list pictures (1 topography, 3 ortho-k) and the hourglass.

#include <QIcon>
#include <QPixmap>

enum class Icone {
    NovoPaciente, EditarPaciente, ExcluirPaciente, NovoExame, ExameOrto, Localizar, ExcluirExame,
    Laudo, Lente, Ajuda, Fechar, Descrever, Gravar, OrdemAlfa, OrdemCriacao, Topografia,
    Ortoceratologia, Busca, Exportar
};

QPixmap DesenhaIcone(Icone icone, int tamanho, bool desabilitado = false);
QIcon IconeNavegador(Icone icone, int tamanho = 24);
