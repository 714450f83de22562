#include "core/translation.h"

#include <array>

#include "platform/environment.h"
#include "platform/flexgrid.h"
#include "platform/forms.h"
#include "platform/procedure.h"

namespace qv {

namespace {

// Order matters: a longer text comes before the shorter text it contains.
constexpr std::array<TranslationRow, 16> kButtonRows{{
    {"S&tampa", "&Print"},
    {"Es&ci", "E&xit"},
    {"&Elimina", "&Delete"},
    {"&Aggiungi", "&Add"},
    {"&Seleziona", "&Filter"},
    {"&Gira", "&Endorse"},
    {"&Versa", "Deposit"},
    {"A&nnulla", "&Cancel"},
    {"&Reimposta", "&Reset"},
    {"Assegni &Ricevuti", "&Incoming Cheques"},
    {"Assegni &Emessi", "&Outgoing Cheques"},
    {"&Anagrafica", "Co&ntacts"},
    {"&Tipologie Anagrafica", "Contact &Types"},
    {"C&onti Correnti", "&Accounts"},
    {"&Informazioni", "Abou&t"},
    {"&Vai al sito web", "&Go"},
}};

constexpr std::array<TranslationRow, 66> kCaptionRows{{
    {"Assegni Ricevuti", "Incoming checques"},
    {"I Miei Conti Correnti", "My bank accounts"},
    {"Assegni Emessi", "Outgoing checques"},
    {"Tipologia Record Anagrafica", "Contact Type"},
    {"Data Versamento", "Deposit Date"},
    {"Note Versamento", "Deposit Notes"},
    {"Data Girata", "Endorsement Date"},
    {"Note Girata", "Endorsement Notes"},
    {"Girata Piena", "Full Endorsement"},
    {"Beneficiario Girata", "Endorsement Payee"},
    {"Anagrafica", "Contacts"},
    {"Tipologia", "Type"},
    {"Firmatario", "Signer"},
    {"Beneficiario", "Payee"},
    {"Numero Assegno", "Checque Number"},
    {"Data Assegno", "Cheque Date"},
    {"Luogo di emissione", "Place of issue"},
    {"Luogo Emissione", "Place of issue"},
    {"Su piazza", "Town"},
    {"Su Piazza", "Town Cheque"},
    {"Banca", "Bank"},
    {"ABI", "Bank Code #1"},
    {"CAB", "Bank Code #2"},
    {"Numero di Conto Corrente", "Account number"},
    {"Numero Conto", "Account number"},
    {"Importo (€)", "Amount"},
    {"Importo", "Amount"},
    {"Causale", "Reason"},
    {"Note", "Notes"},
    {"Conto Corrente", "Account"},
    {"Descrizione", "Description"},
    {"Intestatario", "Holder"},
    {"Intestatari", "Holders"},
    {"Cognome / Ragione Sociale", "Surname / Business Name"},
    {"Nome", "Name"},
    {"Indirizzo", "Address"},
    {"Sito Web", "Web Site"},
    {"Codice Fiscale / Partita IVA", "Fiscal / VAT Code"},
    {"Cellulare", "Mobile Phone"},
    {"Telefono Casa", "Home Phone"},
    {"Telefono Ufficio", "Business Phone"},
    {"CAP", "Zip Code"},
    {"Comune", "City"},
    {"Provincia", "State / Province"},
    {"Data Creazione", "Created"},
    {"Data Ultima Modifica", "Last Updated"},
    {"Trasferibile", "Negotiable"},
    {"Sbarrato", "Crossed"},
    {"Girato", "Endorsed"},
    {"Versato", "Deposited"},
    {"Scegli Report", "Choose a Report"},
    {"Versione 3.0", "Version 3.0"},
    {"Sito web:", "Web site:"},
    {"Assegni emessi nel mese", "Outgoing cheques in the month"},
    {"Assegni ricevuti nel mese", "Incoming cheques in the month"},
    {"Assegni emessi nell'anno", "Outgoing cheques in the year"},
    {"Assegni ricevuti nell'anno", "Incoming cheques in the year"},
    {"Tutti gli assegni ricevuti girati", "Incoming endorsed cheques"},
    {"Tutti gli assegni ricevuti non girati", "Incoming not endorsed cheques"},
    {"Tutti gli assegni ricevuti versati", "Incoming deposited cheques"},
    {"Tutti gli assegni ricevuti non versati", "Incoming not deposited cheques"},
    {"Tutti gli ass. ricevuti non versati nè girati", "Cheques neither deposited nor endorsed"},
    {"Assegni girati nel periodo", "Cheques endorsed in the period"},
    {"Assegni versati nel periodo", "Cheques deposited in the period"},
    {"Cerca", "Search"},
    {"Informazioni su", "About"},
}};

constexpr std::array<TranslationRow, 33> kMessageRows{{
    {"Impossibile eliminare il record. Esistono assegni collegati.", "Unable to delete the record. Related cheques exist."},
    {"Sei sicuro di voler eliminare il record?", "Are you sure to delete the record?"},
    {"Selezionare la tipologia", "Select the type"},
    {"Inserire il cognome o la ragione sociale", "Insert the surname or the business name"},
    {"Il record già esiste", "The record already exists"},
    {"Selezionare il conto corrente", "Select the account"},
    {"Selezionare il beneficiario", "Select the payee"},
    {"Inserire il numero dell'assegno", "Insert the cheque number"},
    {"Formato del numero dell'assegno non valido", "Invalid cheque number"},
    {"Inserire la data dell'assegno", "Insert the cheque date"},
    {"Formato della data dell'assegno non valido", "Invalid cheque date"},
    {"Errore durante la copia del database", "Error occurred during the database backup"},
    {"Copia del database avvenuta con successo", "Database backupped successfully"},
    {"Formato del mese non valido", "Invalid month format"},
    {"Formato data non valida", "Invalid date format"},
    {"Formato numerico non valido", "Invalid number format"},
    {"Inserire l'importo dell'assegno", "Insert the cheque amount"},
    {"Formato dell'importo dell'assegno non valido", "Invalid cheque amount"},
    {"Formato della data di partenza non valido", "Invalid start date"},
    {"Formato della data di arrivo non valido", "Invalid end date"},
    {"Formato dell'importo minimo non valido", "Invalid minimum amount"},
    {"Formato dell'importo massimo non valido", "Invalid maximum amount"},
    {"Sei sicuro di voler eliminare l'operazione?", "Are you sure to delete the operation?"},
    {"Operazione eliminata", "Operation deleted"},
    {"Selezionare il firmatario", "Select the signer"},
    {"Inserire il numero di conto corrente", "Insert the account number"},
    {"Formato della data di girata non valido", "Invalid endorsement date"},
    {"Inserire la descrizione", "Insert the description"},
    {"Inserire il nome della banca", "Insert the bank name"},
    {"Impossibile eliminare il record: ci sono record collegati nell'anagrafica", "Unable to delete the record: related records exist in the contact list"},
    {"Inserire la tipologia", "Insert the type"},
    {"Selezionare il Conto Corrente", "Select the acccount number"},
    {"Formato della data di versamento non valido", "Invalid deposit date"},
}};
const Owner kModule = Owner::module("basGeneral");

// One stretch of the text being translated; `english` marks text a row put in,
// which later rows must leave alone ("Deposit Notes" must not become
// "Deposit Notess" through the "Note" row).
struct Piece {
    std::string text;
    bool english;
};

std::string applyRows(const std::string& text, std::span<const TranslationRow> rows) {
    std::vector<Piece> pieces{{text, false}};
    for (const TranslationRow& row : rows) {
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (pieces[i].english) continue;
            std::size_t hit = pieces[i].text.find(row.italian);
            if (hit == std::string::npos) continue;
            // Split this stretch into the untouched text around the hits and
            // the English text of each hit.
            std::vector<Piece> split;
            const std::string source = std::move(pieces[i].text);
            std::size_t from = 0;
            while (hit != std::string::npos) {
                if (hit > from) split.push_back({source.substr(from, hit - from), false});
                split.push_back({std::string(row.english), true});
                from = hit + row.italian.size();
                hit = source.find(row.italian, from);
            }
            if (from < source.size()) split.push_back({source.substr(from), false});
            pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(i));
            pieces.insert(pieces.begin() + static_cast<std::ptrdiff_t>(i), split.begin(), split.end());
            i += split.size() - 1;
        }
    }
    std::string out;
    for (const Piece& p : pieces) out += p.text;
    return out;
}

}  // namespace

std::span<const TranslationRow> buttonTable() { return kButtonRows; }
std::span<const TranslationRow> captionTable() { return kCaptionRows; }
std::span<const TranslationRow> messageTable() { return kMessageRows; }

bool isEnglish() { return env::english(); }

std::string SostituisciCaptionEng(std::string& text) {
    return runProc(kModule, "SostituisciCaptionEng", [&] {
        std::string out = applyRows(text, kCaptionRows);
        if (out == "da") out = "min";
        else if (out == "a") out = "to";
        else if (out == "su") out = "on";
        text = out;
        return out;
    });
}

std::string SostituisciMessaggioEng(std::string& text) {
    text = applyRows(text, kMessageRows);
    return text;
}

void doEnglish(const std::vector<Control*>& controls) {
    runProc(kModule, "doEnglish", [&] {
        for (Control* c : controls) {
            if (!c) continue;
            switch (c->Kind()) {
                case ControlKind::Button: {
                    const std::string caption = c->Caption();
                    for (const TranslationRow& row : kButtonRows) {
                        if (caption == row.italian) {
                            c->setCaption(std::string(row.english));
                            break;
                        }
                    }
                    break;
                }
                case ControlKind::Label:
                case ControlKind::SkinForm:
                case ControlKind::CheckBox: {
                    std::string caption = c->Caption();
                    c->setCaption(SostituisciCaptionEng(caption));
                    break;
                }
                case ControlKind::DateField:
                    if (auto* d = dynamic_cast<DateField*>(c)) d->setTextForToday("Today");
                    break;
                default:
                    break;
            }
        }
    });
}

void doEnglishGrid(FlexGrid& grid, std::span<const int> columns) {
    runProc(kModule, "doEnglishGrid", [&] {
        for (int c : columns) {
            std::string header = grid.TextMatrix(0, c);
            grid.setTextMatrix(0, c, SostituisciCaptionEng(header));
        }
    });
}

}  // namespace qv
