// The contact's inputs, which the contact editor and the contacts filter lay
// out alike: the type list and fourteen detail boxes, each with its label.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <utility>

#include "platform/forms.h"

namespace qv {

// A contact's detail inputs in the order both contact windows handle them:
// the input and label names end in `suffix`; `column` is the stored column.
struct ContactDetail {
    const char* suffix;
    const char* column;
    const char* caption;
};
extern const std::array<ContactDetail, 14> kContactDetails;

// The contact types in the order both contact windows offer them.
extern const char* const kContactTypesQuery;

// Adds the inputs to a window of kind Window (an editor or a filter window),
// after the window's own controls.
template <class Window>
class ContactInputs : public Window {
    // Before the inputs, which are made with them.
    int inputWidth_;
    std::array<TextBox*, 14> inputs_{};

public:
    ComboBox& cboTipologia;
    TextBox& txtNome;
    TextBox& txtCognome;
    TextBox& txtIndirizzo;
    TextBox& txtCAP;
    TextBox& txtComune;
    TextBox& txtProvincia;
    TextBox& txtTelefonoCasa;
    TextBox& txtTelefonoUfficio;
    TextBox& txtFax;
    TextBox& txtCellulare;
    TextBox& txtCFIva;
    TextBox& txtEmail;
    TextBox& txtSitoWeb;
    TextBox& txtNote;

protected:
    template <class... WindowArgs>
    explicit ContactInputs(int inputWidth, WindowArgs&&... windowArgs)
        : Window(std::forward<WindowArgs>(windowArgs)...),
          inputWidth_(inputWidth),
          cboTipologia(this->template addAt<ComboBox>(kInputLeft, kFirstTop, inputWidth, 315, "cboTipologia")),
          txtNome(detail(0)),
          txtCognome(detail(1)),
          txtIndirizzo(detail(2)),
          txtCAP(detail(3)),
          txtComune(detail(4)),
          txtProvincia(detail(5)),
          txtTelefonoCasa(detail(6)),
          txtTelefonoUfficio(detail(7)),
          txtFax(detail(8)),
          txtCellulare(detail(9)),
          txtCFIva(detail(10)),
          txtEmail(detail(11)),
          txtSitoWeb(detail(12)),
          txtNote(detail(13)) {
        this->template addAt<Label>(kLabelLeft, kFirstTop + 30, 2640, 255, "lblTipologia", "Tipologia");
        cboTipologia.setDropDownList(true);
    }

    // The input of kContactDetails[index].
    TextBox& detailInput(std::size_t index) const { return *inputs_[index]; }

private:
    static constexpr int kLabelLeft = 240, kInputLeft = 3000, kFirstTop = 720, kLine = 420;

    TextBox& detail(int index) {
        const ContactDetail& d = kContactDetails[static_cast<std::size_t>(index)];
        const int top = kFirstTop + (index + 1) * kLine;
        TextBox& box = this->template addAt<TextBox>(kInputLeft, top, inputWidth_, 315, std::string("txt") + d.suffix);
        this->template addAt<Label>(kLabelLeft, top + 30, 2640, 255, std::string("lbl") + d.suffix, d.caption);
        inputs_[static_cast<std::size_t>(index)] = &box;
        return box;
    }
};

}  // namespace qv
