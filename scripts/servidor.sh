#!/usr/bin/env bash
# Prepara este computador (Debian 12) como servidor do banco de dados da clínica, para
# várias estações: instala o servidor Firebird, define a senha do SYSDBA escolhida por
# quem instala, abre o servidor para a rede, cria o banco a partir de data/schema (o mesmo
# código da instalação) e mostra as linhas a pôr no ZR300.ini de cada estação.
#
# Rodar como root:  bash scripts/servidor.sh
# Variáveis opcionais:
#   ZR_PASTA_BANCO   pasta do banco no servidor (padrão: /srv/clinica/Banco de Dados)
#   ZR_PORTA         porta TCP do servidor (padrão: 3050)
#   ZR_SENHA_SYSDBA  senha do SYSDBA (sem ela, o script pergunta)
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

PASTA_BANCO="${ZR_PASTA_BANCO:-/srv/clinica/Banco de Dados}"
PORTA="${ZR_PORTA:-3050}"
CONF=/etc/firebird/3.0/firebird.conf
SEGURANCA=/var/lib/firebird/3.0/system/security3.fdb

if [ "$(id -u)" -ne 0 ]; then
  echo "Rode como root (instala o servidor e altera a configuração do Firebird)." >&2
  exit 1
fi
case "$PORTA" in ''|*[!0-9]*) echo "ZR_PORTA deve ser um número." >&2; exit 1 ;; esac

# A senha: escolhida por quem instala, nunca mostrada nem gravada em registro.
SENHA="${ZR_SENHA_SYSDBA:-}"
if [ -z "$SENHA" ]; then
  read -r -s -p "Senha do SYSDBA do servidor: " SENHA; echo
  read -r -s -p "Repita a senha: " SENHA2; echo
  if [ "$SENHA" != "$SENHA2" ]; then echo "As senhas não conferem." >&2; exit 1; fi
fi
if [ ${#SENHA} -lt 6 ]; then echo "Use uma senha de pelo menos 6 caracteres." >&2; exit 1; fi

echo "== Pacotes"
instala_pacotes
export DEBIAN_FRONTEND=noninteractive
dpkg-query -W -f='${Status}' firebird3.0-server 2>/dev/null | grep -q "install ok installed" \
  || apt-get install -y --no-install-recommends firebird3.0-server

echo "== Programa de instalação do banco"
cmake -S "$RAIZ_PROJETO" -B "$PASTA_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$PASTA_BUILD" -j"$(nproc)" --target zr_instalar > /dev/null

para_servico() { service firebird3.0 stop > /dev/null 2>&1 || true; }
inicia_servico() { service firebird3.0 restart > /dev/null 2>&1 || service firebird3.0 start; }

echo "== Senha do SYSDBA"
para_servico
senha_sql=$(printf '%s' "$SENHA" | sed "s/'/''/g")
printf "create or alter user SYSDBA password '%s';\ncommit;\n" "$senha_sql" \
  | isql-fb -q -user SYSDBA "$SEGURANCA"
chown firebird:firebird "$SEGURANCA"
# O arquivo do pacote guarda a senha para a manutenção local (só root o lê).
if [ -f /etc/firebird/3.0/SYSDBA.password ]; then
  sed -i "s/^ISC_PASSWORD=.*/ISC_PASSWORD=\"$(printf '%s' "$SENHA" | sed 's/[\/&"]/\\&/g')\"/" \
    /etc/firebird/3.0/SYSDBA.password
fi

echo "== Rede: todas as interfaces, porta $PORTA"
sed -i -E 's/^[[:space:]]*RemoteBindAddress[[:space:]]*=.*/#&/' "$CONF"
sed -i -E '/^[[:space:]]*RemoteServicePort[[:space:]]*=/d' "$CONF"
echo "RemoteServicePort = $PORTA" >> "$CONF"

echo "== Banco de dados em $PASTA_BANCO"
mkdir -p "$PASTA_BANCO"
"$PASTA_BUILD/install/zr_instalar" --banco "$PASTA_BANCO"
chown -R firebird:firebird "$PASTA_BANCO"
chmod 0770 "$PASTA_BANCO"
chmod 0660 "$PASTA_BANCO/DATABASE.GDB"

inicia_servico
if command -v ufw > /dev/null && ufw status | grep -q "Status: active"; then
  ufw allow "$PORTA/tcp" > /dev/null && echo "== Firewall (ufw): porta $PORTA/tcp liberada"
else
  echo "== Firewall: libere a porta TCP $PORTA para as estações da clínica, se houver um."
fi

SERVIDOR="$(hostname)"
[ "$PORTA" = 3050 ] && PREFIXO="$SERVIDOR" || PREFIXO="$SERVIDOR/$PORTA"
cat <<EOT

Servidor pronto. No ZR300.ini de cada estação, seção [DIRETORIOS]:

  BANCODADOS=$PREFIXO:$PASTA_BANCO

e a seção do servidor (a senha escolhida acima):

  [SERVIDOR]
  USUARIO=SYSDBA
  SENHA=<a senha do SYSDBA>

As pastas EXAMES e LAUDOS de todas as estações devem apontar para uma mesma pasta
compartilhada (NFS ou Samba), montada no mesmo caminho em cada estação.
EOT
