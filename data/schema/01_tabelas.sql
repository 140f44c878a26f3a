/* Banco de dados da estação clínica: tabelas, índices e geradores.

   Os scripts desta pasta, em ordem (01, 02, 03), constroem o banco DATABASE.GDB.
   O instalador cria o arquivo (dialeto 3, conjunto de caracteres padrão WIN1252, dono
   SYSDBA) e executa estes scripts. À mão, com o isql-fb:

     CREATE DATABASE '/caminho/DATABASE.GDB' USER 'SYSDBA' PASSWORD 'qwzk47'
       PAGE_SIZE 8192 DEFAULT CHARACTER SET WIN1252;
     isql-fb -q -ch UTF8 -user SYSDBA -password qwzk47 /caminho/DATABASE.GDB -i 01_tabelas.sql

   Os arquivos estão em UTF-8; a conexão em UTF8 (-ch UTF8) converte os textos para as
   colunas WIN1252. */

SET SQL DIALECT 3;

/* Médicos */
CREATE TABLE MEDICOS (
  CODIGO              INTEGER NOT NULL,
  NOME                VARCHAR(50),
  RG                  VARCHAR(15),
  CPF                 VARCHAR(11),
  CRM                 VARCHAR(15),
  SEXO                VARCHAR(1),
  ESTADOCIVIL         VARCHAR(1),
  CONJUGE             VARCHAR(25),
  DATANASCIMENTO      VARCHAR(10),
  NATURALIDADE        VARCHAR(40),
  NATURALIDADEESTADO  VARCHAR(2),
  PAI                 VARCHAR(50),
  MAE                 VARCHAR(50),
  RUA                 VARCHAR(40),
  COMPLEMENTO         VARCHAR(25),
  BAIRRO              VARCHAR(30),
  CIDADE              VARCHAR(40),
  ESTADO              VARCHAR(2),
  CEP                 VARCHAR(9),
  FONE                VARCHAR(11),
  CELULAR             VARCHAR(11),
  CONSTRAINT PK_CODIGOMEDICOS PRIMARY KEY (CODIGO)
);

/* Pacientes */
CREATE TABLE PACIENTES (
  CODIGO              INTEGER NOT NULL,
  CODMEDICO           INTEGER NOT NULL,
  NOME                VARCHAR(50),
  RG                  VARCHAR(15),
  CPF                 VARCHAR(11),
  SEXO                VARCHAR(1),
  ESTADOCIVIL         VARCHAR(1),
  CONJUGE             VARCHAR(25),
  DATANASCIMENTO      VARCHAR(10),
  NATURALIDADE        VARCHAR(40),
  NATURALIDADEESTADO  VARCHAR(2),
  PAI                 VARCHAR(50),
  MAE                 VARCHAR(50),
  RUA                 VARCHAR(40),
  COMPLEMENTO         VARCHAR(25),
  BAIRRO              VARCHAR(30),
  CIDADE              VARCHAR(40),
  ESTADO              VARCHAR(2),
  CEP                 VARCHAR(9),
  FONE                VARCHAR(11),
  CELULAR             VARCHAR(11),
  CONVENIO            VARCHAR(50),
  PROFISSAO           VARCHAR(40),
  ENCAMINHADO         VARCHAR(40),
  TIPOSANG            VARCHAR(3),
  DTCADASTRO          DATE,
  ULTIMOEXAME         VARCHAR(50),
  TOTALEXAMES         INTEGER,
  CONSTRAINT PK_CODIGOPACIENTES PRIMARY KEY (CODIGO)
);

/* Lista de pacientes do navegador, em ordem de nome. */
CREATE INDEX IDX_PACIENTES_NOME ON PACIENTES (NOME);
/* A mesma lista em ordem alfabética portuguesa (sem distinguir maiúsculas e acentos). */
CREATE INDEX IDX_PACIENTES_NOME_PTBR ON PACIENTES COMPUTED BY (NOME COLLATE WIN_PTBR);
/* Busca pelo começo do nome sem distinguir maiúsculas. */
CREATE INDEX IDX_PACIENTES_NOME_MAIUSCULO ON PACIENTES COMPUTED BY (UPPER(NOME));

/* Exames: a linha guarda a escrituração; as medidas ficam nos arquivos do exame. */
CREATE TABLE EXAMES (
  CODIGO              INTEGER NOT NULL,
  CODPACIENTE         INTEGER NOT NULL,
  CODRESP             INTEGER NOT NULL,
  DATA                DATE,
  HORA                TIME,
  OLHO                VARCHAR(2),
  TIPOEXAME           VARCHAR(5),
  BACKUP              VARCHAR(10),
  DIAG                VARCHAR(240),
  OBSERVACAO          VARCHAR(240),
  INDCONF             DOUBLE PRECISION,
  NUMANEL             INTEGER,
  TIPOCONE            VARCHAR(5),
  CONSTRAINT PK_CODIGOEXAMES PRIMARY KEY (CODIGO),
  CONSTRAINT FK_EXAMES_CODPACIENTE FOREIGN KEY (CODPACIENTE) REFERENCES PACIENTES (CODIGO),
  CONSTRAINT FK_EXAMES_CODRESP FOREIGN KEY (CODRESP) REFERENCES MEDICOS (CODIGO)
);

/* Valores da lente de ortoceratologia, uma linha por exame "O". */
CREATE TABLE EXAMESORTO (
  CODEXAME            INTEGER,
  DIV                 DOUBLE PRECISION,
  EXC                 DOUBLE PRECISION,
  RAIO                DOUBLE PRECISION,
  SAG                 DOUBLE PRECISION
);
CREATE INDEX IDX_EXAMESORTO_CODEXAME ON EXAMESORTO (CODEXAME);

/* Imagens do exame (arquivos JPEG), uma linha por exame. */
CREATE TABLE ARQUIVOS (
  CODIGO_EXAMES       INTEGER,
  IMAGEM_CENTRAL      BLOB SUB_TYPE 0 SEGMENT SIZE 8192,
  IMAGEM_LATERAL      BLOB SUB_TYPE 0 SEGMENT SIZE 8192
);
CREATE INDEX IDX_ARQUIVOS_CODIGO_EXAMES ON ARQUIVOS (CODIGO_EXAMES);

/* Laudos: o texto fica no arquivo do laudo; MEDIDAOD/MEDIDAOS = -1 quando sem exame. */
CREATE TABLE LAUDOS (
  CODIGO              INTEGER NOT NULL,
  CODPACIENTE         INTEGER NOT NULL,
  MEDIDAOD            INTEGER,
  MEDIDAOS            INTEGER,
  BACKUP              VARCHAR(10),
  DATA                DATE,
  HORA                TIME,
  CONSTRAINT PK_CODIGOLAUDOS PRIMARY KEY (CODIGO),
  CONSTRAINT FK_LAUDOS_CODPACIENTE FOREIGN KEY (CODPACIENTE) REFERENCES PACIENTES (CODIGO)
);

/* Biblioteca de frases do editor de laudos. */
CREATE TABLE LAUDOSTEXTO (
  CODIGO              INTEGER NOT NULL,
  LOCAL               VARCHAR(2),
  POSCAIXA            INTEGER,
  TEXTO               VARCHAR(250),
  CONSTRAINT PK_CODIGOLAUDOSTEXTO PRIMARY KEY (CODIGO)
);

/* Cada gerador guarda o último código entregue. */
CREATE GENERATOR CODIGO_MEDICOS;
CREATE GENERATOR CODIGO_PACIENTES;
CREATE GENERATOR CODIGO_EXAMES;
CREATE GENERATOR CODIGO_LAUDOS;

COMMIT;
