/* Procedimentos armazenados chamados pelo sistema. Toda inclusão, alteração e exclusão
   passa por eles; os códigos novos vêm dos geradores (GEN_ID(..., 1)).

   PACIENTES.CODMEDICO: o sistema nunca informa o médico do paciente (o médico é o
   responsável de cada exame). InsertPacientes grava 0, o mesmo valor que as consultas do
   sistema devolvem para "nenhum médico"; nenhum médico tem o código 0, porque os códigos
   de MEDICOS começam em 1. */

SET SQL DIALECT 3;

SET TERM ^ ;

/* --- Médicos --------------------------------------------------------------------- */

CREATE PROCEDURE InsertMedicos (
  Nome VARCHAR(50), Rg VARCHAR(15), CPF VARCHAR(11), Crm VARCHAR(15), Sexo VARCHAR(1),
  EstadoCivil VARCHAR(1), Conjuge VARCHAR(25), DataNascimento VARCHAR(10),
  Naturalidade VARCHAR(40), NaturalidadeEstado VARCHAR(2), Pai VARCHAR(50), Mae VARCHAR(50),
  Rua VARCHAR(40), Complemento VARCHAR(25), Bairro VARCHAR(30), Cidade VARCHAR(40),
  Estado VARCHAR(2), Cep VARCHAR(9), Fone VARCHAR(11), Celular VARCHAR(11))
AS
BEGIN
  INSERT INTO MEDICOS (CODIGO, NOME, RG, CPF, CRM, SEXO, ESTADOCIVIL, CONJUGE,
                       DATANASCIMENTO, NATURALIDADE, NATURALIDADEESTADO, PAI, MAE, RUA,
                       COMPLEMENTO, BAIRRO, CIDADE, ESTADO, CEP, FONE, CELULAR)
  VALUES (GEN_ID(CODIGO_MEDICOS, 1), :Nome, :Rg, :CPF, :Crm, :Sexo, :EstadoCivil, :Conjuge,
          :DataNascimento, :Naturalidade, :NaturalidadeEstado, :Pai, :Mae, :Rua,
          :Complemento, :Bairro, :Cidade, :Estado, :Cep, :Fone, :Celular);
END^

CREATE PROCEDURE UpdateMedicosByCodigo (
  Codigo INTEGER,
  Nome VARCHAR(50), Rg VARCHAR(15), CPF VARCHAR(11), Crm VARCHAR(15), Sexo VARCHAR(1),
  EstadoCivil VARCHAR(1), Conjuge VARCHAR(25), DataNascimento VARCHAR(10),
  Naturalidade VARCHAR(40), NaturalidadeEstado VARCHAR(2), Pai VARCHAR(50), Mae VARCHAR(50),
  Rua VARCHAR(40), Complemento VARCHAR(25), Bairro VARCHAR(30), Cidade VARCHAR(40),
  Estado VARCHAR(2), Cep VARCHAR(9), Fone VARCHAR(11), Celular VARCHAR(11))
AS
BEGIN
  UPDATE MEDICOS SET
    NOME = :Nome, RG = :Rg, CPF = :CPF, CRM = :Crm, SEXO = :Sexo,
    ESTADOCIVIL = :EstadoCivil, CONJUGE = :Conjuge, DATANASCIMENTO = :DataNascimento,
    NATURALIDADE = :Naturalidade, NATURALIDADEESTADO = :NaturalidadeEstado, PAI = :Pai,
    MAE = :Mae, RUA = :Rua, COMPLEMENTO = :Complemento, BAIRRO = :Bairro,
    CIDADE = :Cidade, ESTADO = :Estado, CEP = :Cep, FONE = :Fone, CELULAR = :Celular
  WHERE CODIGO = :Codigo;
END^

/* Um médico responsável por exames não pode ser excluído (chave estrangeira de EXAMES). */
CREATE PROCEDURE DeleteMedicosByCodigo (Codigo INTEGER)
AS
BEGIN
  DELETE FROM MEDICOS WHERE CODIGO = :Codigo;
END^

/* --- Pacientes ------------------------------------------------------------------- */

CREATE PROCEDURE InsertPacientes (
  Nome VARCHAR(50), Rg VARCHAR(15), CPF VARCHAR(11), Sexo VARCHAR(1), EstadoCivil VARCHAR(1),
  Conjuge VARCHAR(25), DataNascimento VARCHAR(10), Naturalidade VARCHAR(40),
  NaturalidadeEstado VARCHAR(2), Pai VARCHAR(50), Mae VARCHAR(50), Rua VARCHAR(40),
  Complemento VARCHAR(25), Bairro VARCHAR(30), Cidade VARCHAR(40), Estado VARCHAR(2),
  Cep VARCHAR(9), Fone VARCHAR(11), Celular VARCHAR(11), Convenio VARCHAR(50),
  Profissao VARCHAR(40), TipoSang VARCHAR(3), DtCadastro DATE, TotalExames INTEGER)
AS
BEGIN
  INSERT INTO PACIENTES (CODIGO, CODMEDICO, NOME, RG, CPF, SEXO, ESTADOCIVIL, CONJUGE,
                         DATANASCIMENTO, NATURALIDADE, NATURALIDADEESTADO, PAI, MAE, RUA,
                         COMPLEMENTO, BAIRRO, CIDADE, ESTADO, CEP, FONE, CELULAR, CONVENIO,
                         PROFISSAO, TIPOSANG, DTCADASTRO, TOTALEXAMES)
  VALUES (GEN_ID(CODIGO_PACIENTES, 1), 0, :Nome, :Rg, :CPF, :Sexo, :EstadoCivil, :Conjuge,
          :DataNascimento, :Naturalidade, :NaturalidadeEstado, :Pai, :Mae, :Rua,
          :Complemento, :Bairro, :Cidade, :Estado, :Cep, :Fone, :Celular, :Convenio,
          :Profissao, :TipoSang, :DtCadastro, :TotalExames);
END^

/* DTCADASTRO, ULTIMOEXAME e TOTALEXAMES ficam como estão. */
CREATE PROCEDURE UpdatePacientesByCodigo (
  Codigo INTEGER,
  Nome VARCHAR(50), Rg VARCHAR(15), CPF VARCHAR(11), Sexo VARCHAR(1), EstadoCivil VARCHAR(1),
  Conjuge VARCHAR(25), DataNascimento VARCHAR(10), Naturalidade VARCHAR(40),
  NaturalidadeEstado VARCHAR(2), Pai VARCHAR(50), Mae VARCHAR(50), Rua VARCHAR(40),
  Complemento VARCHAR(25), Bairro VARCHAR(30), Cidade VARCHAR(40), Estado VARCHAR(2),
  Cep VARCHAR(9), Fone VARCHAR(11), Celular VARCHAR(11), Convenio VARCHAR(50),
  Profissao VARCHAR(40), TipoSang VARCHAR(3))
AS
BEGIN
  UPDATE PACIENTES SET
    NOME = :Nome, RG = :Rg, CPF = :CPF, SEXO = :Sexo, ESTADOCIVIL = :EstadoCivil,
    CONJUGE = :Conjuge, DATANASCIMENTO = :DataNascimento, NATURALIDADE = :Naturalidade,
    NATURALIDADEESTADO = :NaturalidadeEstado, PAI = :Pai, MAE = :Mae, RUA = :Rua,
    COMPLEMENTO = :Complemento, BAIRRO = :Bairro, CIDADE = :Cidade, ESTADO = :Estado,
    CEP = :Cep, FONE = :Fone, CELULAR = :Celular, CONVENIO = :Convenio,
    PROFISSAO = :Profissao, TIPOSANG = :TipoSang
  WHERE CODIGO = :Codigo;
END^

/* O paciente só é excluído sem exames (chave estrangeira de EXAMES). Os laudos sem exame
   do paciente (os dois olhos "Nenhum") saem com ele. */
CREATE PROCEDURE DeletePacientesByCodigo (Codigo INTEGER)
AS
BEGIN
  DELETE FROM LAUDOS WHERE CODPACIENTE = :Codigo;
  DELETE FROM PACIENTES WHERE CODIGO = :Codigo;
END^

CREATE PROCEDURE UpdateExamesPacientesByCodigo (
  Codigo INTEGER, UltimoExame VARCHAR(50), TotalExames INTEGER)
AS
BEGIN
  UPDATE PACIENTES SET ULTIMOEXAME = :UltimoExame, TOTALEXAMES = :TotalExames
  WHERE CODIGO = :Codigo;
END^

/* --- Exames ---------------------------------------------------------------------- */

CREATE PROCEDURE InsertExames (
  CodPaciente INTEGER, CodResp INTEGER, Data DATE, Hora TIME, Olho VARCHAR(2),
  IndConf DOUBLE PRECISION, TipoExame VARCHAR(5), Backup VARCHAR(10), Diag VARCHAR(240),
  Observacao VARCHAR(240), NumAneis INTEGER, TipoCone VARCHAR(5))
AS
BEGIN
  INSERT INTO EXAMES (CODIGO, CODPACIENTE, CODRESP, DATA, HORA, OLHO, INDCONF, TIPOEXAME,
                      BACKUP, DIAG, OBSERVACAO, NUMANEL, TIPOCONE)
  VALUES (GEN_ID(CODIGO_EXAMES, 1), :CodPaciente, :CodResp, :Data, :Hora, :Olho, :IndConf,
          :TipoExame, :Backup, :Diag, :Observacao, :NumAneis, :TipoCone);
END^

CREATE PROCEDURE InsertExamesOrto (
  ECodExame INTEGER, EDiv DOUBLE PRECISION, EExc DOUBLE PRECISION,
  ERaio DOUBLE PRECISION, ESag DOUBLE PRECISION)
AS
BEGIN
  INSERT INTO EXAMESORTO (CODEXAME, DIV, EXC, RAIO, SAG)
  VALUES (:ECodExame, :EDiv, :EExc, :ERaio, :ESag);
END^

CREATE PROCEDURE UpdateBackupExameByCodigo (Codigo INTEGER, Backup VARCHAR(10))
AS
BEGIN
  UPDATE EXAMES SET BACKUP = :Backup WHERE CODIGO = :Codigo;
END^

CREATE PROCEDURE ZeraBackupExames
AS
BEGIN
  UPDATE EXAMES SET BACKUP = '';
END^

CREATE PROCEDURE UpdateDiagExameByCodigo (Codigo INTEGER, Diag VARCHAR(240))
AS
BEGIN
  UPDATE EXAMES SET DIAG = :Diag WHERE CODIGO = :Codigo;
END^

CREATE PROCEDURE UpdateObsExameByCodigo (Codigo INTEGER, Obs VARCHAR(240))
AS
BEGIN
  UPDATE EXAMES SET OBSERVACAO = :Obs WHERE CODIGO = :Codigo;
END^

CREATE PROCEDURE UpdateTipoConeByCodigo (Codigo INTEGER, TipoCone VARCHAR(5))
AS
BEGIN
  UPDATE EXAMES SET TIPOCONE = :TipoCone WHERE CODIGO = :Codigo;
END^

/* As imagens e os valores de ortoceratologia pertencem ao exame e saem com ele. */
CREATE PROCEDURE DeleteExamesByCodigo (Codigo INTEGER)
AS
BEGIN
  DELETE FROM ARQUIVOS WHERE CODIGO_EXAMES = :Codigo;
  DELETE FROM EXAMESORTO WHERE CODEXAME = :Codigo;
  DELETE FROM EXAMES WHERE CODIGO = :Codigo;
END^

CREATE PROCEDURE DeleteExamesOrtoByCodigoExame (CodExame INTEGER)
AS
BEGIN
  DELETE FROM EXAMESORTO WHERE CODEXAME = :CodExame;
END^

/* Uma linha por exame: gravar de novo as imagens de um exame substitui as anteriores. */
CREATE PROCEDURE InsertArquivos (
  Codigo_Exames INTEGER, Imagem_Central BLOB SUB_TYPE 0, Imagem_Lateral BLOB SUB_TYPE 0)
AS
BEGIN
  DELETE FROM ARQUIVOS WHERE CODIGO_EXAMES = :Codigo_Exames;
  INSERT INTO ARQUIVOS (CODIGO_EXAMES, IMAGEM_CENTRAL, IMAGEM_LATERAL)
  VALUES (:Codigo_Exames, :Imagem_Central, :Imagem_Lateral);
END^

/* --- Laudos ---------------------------------------------------------------------- */

CREATE PROCEDURE InsertLaudos (
  CodPaciente INTEGER, MedidaOD INTEGER, MedidaOS INTEGER, Backup VARCHAR(10),
  Data DATE, Hora TIME)
AS
BEGIN
  INSERT INTO LAUDOS (CODIGO, CODPACIENTE, MEDIDAOD, MEDIDAOS, BACKUP, DATA, HORA)
  VALUES (GEN_ID(CODIGO_LAUDOS, 1), :CodPaciente, :MedidaOD, :MedidaOS, :Backup, :Data,
          :Hora);
END^

CREATE PROCEDURE UpdateBackupLaudoByCodigo (Codigo INTEGER, Backup VARCHAR(10))
AS
BEGIN
  UPDATE LAUDOS SET BACKUP = :Backup WHERE CODIGO = :Codigo;
END^

CREATE PROCEDURE ZeraBackupLaudos
AS
BEGIN
  UPDATE LAUDOS SET BACKUP = '';
END^

CREATE PROCEDURE DeleteLaudosByCodigo (Codigo INTEGER)
AS
BEGIN
  DELETE FROM LAUDOS WHERE CODIGO = :Codigo;
END^

SET TERM ; ^

COMMIT;
