// The received cheques list, with the state line of the current cheque
// (endorsed, deposited or neither) and the buttons that endorse or deposit it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "lists/chequelist.h"

namespace qv {

class frmAssegniRicevuti : public ChequeListWindow {
public:
    frmAssegniRicevuti();

    std::int64_t& mASSEGNIRICEVUTIID = mKey;

    CommandButton& cmdGira;
    CommandButton& cmdVersa;
    Label& txtStatoAssegno;

    // Refreshes the state line and the two buttons from the current row.
    void ToggleGiraVersa();
    // The endorsement (deposit) text of a cheque, empty when it has none, and
    // no value when the state could not be read (the error has been shown):
    // callers must not take that for "none".
    std::optional<std::string> getGiratoMessage(std::int64_t idass);
    std::optional<std::string> getVersatoMessage(std::int64_t idass);

    // A cheque's state line, and whether an endorsement or a deposit gave it.
    struct ChequeState {
        std::string text;
        bool hasOperation = false;
    };
    // The endorsement first, then the deposit, else the "neither" text;
    // no value when either could not be read.
    std::optional<ChequeState> readChequeState(std::int64_t idass);
    // "Assegno non girato nè versato" in the user's language.
    static std::string neitherText();

    void Form_Load() override;
    void cmdGira_Click();
    void cmdVersa_Click();
    void MSFlexGrid1_KeyUp(int keyCode, int shift);
    // The family's grid events, each followed by a state refresh.
    void MSFlexGrid1_MouseDown(int button, int shift, float x, float y);
    void MSFlexGrid1_MouseUp(int button, int shift, float x, float y);
    void MSFlexGrid1_SelChange();

protected:
    std::string rowQuery(std::int64_t key) const override;
    std::string addedRowQuery(std::int64_t key) const override;
    bool deleteRecord() override;
    void addGridRowFailed(const RuntimeError& e) override;
    void showEditor() override;
    void showFilter() override;
    void releaseInstance() override;

private:
    // The key of the current data row, or nothing when no cheque is current.
    std::optional<std::int64_t> currentKey();
    std::optional<std::string> readState(const std::string& proc, const std::string& query, bool endorsement);
};

}  // namespace qv
