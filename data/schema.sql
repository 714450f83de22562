-- Tables of the shipped database. The program creates its settings table itself.
-- Keys are never reused after a delete; texts keep leading zeros; no foreign keys:
-- the program keeps the delete rules.
CREATE TABLE TipologiaPersone (
  TIPOLOGIAID INTEGER PRIMARY KEY AUTOINCREMENT,
  Tipologia TEXT,
  DateTimeCreated TEXT,
  DateTimeLastUpdated TEXT
);
CREATE TABLE Anagrafica (
  ANAGRAFICAID INTEGER PRIMARY KEY AUTOINCREMENT,
  TIPOLOGIAID INTEGER,
  Nome TEXT,
  Cognome TEXT,
  Indirizzo TEXT,
  CAP TEXT,
  Comune TEXT,
  Provincia TEXT,
  TelefonoCasa TEXT,
  TelefonoUfficio TEXT,
  Fax TEXT,
  Cellulare TEXT,
  CFIva TEXT,
  Email TEXT,
  SitoWeb TEXT,
  NoteAnagrafica TEXT,
  DateTimeCreated TEXT,
  DateTimeLastUpdated TEXT
);
CREATE TABLE MieiContiCorrenti (
  CONTOCORRENTEID INTEGER PRIMARY KEY AUTOINCREMENT,
  Descrizione TEXT,
  Banca TEXT,
  ABI TEXT,
  CAB TEXT,
  NumeroConto TEXT,
  Intestatari TEXT,
  DateTimeCreated TEXT,
  DateTimeLastUpdated TEXT
);
CREATE TABLE AssegniEmessi (
  ASSEGNIEMESSIID INTEGER PRIMARY KEY AUTOINCREMENT,
  CONTOCORRENTEID INTEGER,
  ANAGRAFICAID INTEGER,
  Numero TEXT,
  DataAssegno TEXT,
  LuogoEmissione TEXT,
  SuPiazza INTEGER,
  Trasferibile INTEGER,
  Sbarrato INTEGER,
  Importo NUMERIC,
  Causale TEXT,
  AssegnoNote TEXT,
  DateTimeCreated TEXT,
  DateTimeLastUpdated TEXT
);
CREATE TABLE AssegniRicevuti (
  ASSEGNIRICEVUTIID INTEGER PRIMARY KEY AUTOINCREMENT,
  FIRMATARIOID INTEGER,
  ANAGRAFICAID INTEGER,
  Numero TEXT,
  DataAssegno TEXT,
  LuogoEmissione TEXT,
  SuPiazza INTEGER,
  Banca TEXT,
  ABI TEXT,
  CAB TEXT,
  NumeroConto TEXT,
  Trasferibile INTEGER,
  Sbarrato INTEGER,
  Importo NUMERIC,
  Causale TEXT,
  AssegnoNote TEXT,
  DateTimeCreated TEXT,
  DateTimeLastUpdated TEXT
);
CREATE TABLE Girate (
  ASSEGNIRICEVUTIID INTEGER,
  ANAGRAFICAID INTEGER,
  GirataPiena INTEGER,
  DataGirata TEXT,
  DateTimeCreated TEXT,
  NoteGirata TEXT
);
CREATE TABLE Versamenti (
  ASSEGNIRICEVUTIID INTEGER,
  CONTOCORRENTEID INTEGER,
  DataVersamento TEXT,
  NoteVersamento TEXT,
  DateTimeCreated TEXT
);
CREATE INDEX GirateAssegno ON Girate (ASSEGNIRICEVUTIID);
CREATE INDEX VersamentiAssegno ON Versamenti (ASSEGNIRICEVUTIID);
CREATE TABLE reportistica (
  sqlreport TEXT,
  titolo TEXT UNIQUE,
  numparametri INTEGER,
  tipopar1 TEXT,
  tipopar2 TEXT,
  promptpar1 TEXT,
  promptpar2 TEXT,
  ordine INTEGER
);
