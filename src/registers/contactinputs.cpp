#include "registers/contactinputs.h"

namespace qv {

const std::array<ContactDetail, 14> kContactDetails{{
    {"Nome", "Nome", "Nome"},
    {"Cognome", "Cognome", "Cognome / Ragione Sociale"},
    {"Indirizzo", "Indirizzo", "Indirizzo"},
    {"CAP", "CAP", "CAP"},
    {"Comune", "Comune", "Comune"},
    {"Provincia", "Provincia", "Provincia"},
    {"TelefonoCasa", "TelefonoCasa", "Telefono Casa"},
    {"TelefonoUfficio", "TelefonoUfficio", "Telefono Ufficio"},
    {"Fax", "Fax", "Fax"},
    {"Cellulare", "Cellulare", "Cellulare"},
    {"CFIva", "CFIva", "Codice Fiscale / Partita IVA"},
    {"Email", "Email", "E-mail"},
    {"SitoWeb", "SitoWeb", "Sito Web"},
    {"Note", "NoteAnagrafica", "Note"},
}};

const char* const kContactTypesQuery = "SELECT TIPOLOGIAID, Tipologia FROM TipologiaPersone order by tipologia ";

}  // namespace qv
