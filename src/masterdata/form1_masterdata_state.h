#pragma once
// What the main window keeps for its seller and buyer boxes beside the controls:
// the customers behind List2/List4, so a pick from List5 reaches its row by
// position in the list, never by slicing the entry's text.
#include "masterdata/buyers.h"
#include "shell/form1.h"

#include <filesystem>
#include <functional>
#include <vector>

namespace kuvela {

struct MasterDataState {
    CustomerList customers;        // the rows behind Combo3, List2 and List4
    std::vector<int> list5Matches; // List5 row -> position in `customers`
    // The company whose invoice the window holds; emptied when its box is typed into.
    QString loadedCompany;
};

template <>
inline MasterDataState& Form1::state<MasterDataState>()
{
    return AreaStateAccess::get<MasterDataState>(*this, AreaStateAccess::masterData);
}

// DATA.xlsx of the program folder.
std::filesystem::path masterDataWorkbook();

// Opens DATA.xlsx afresh, runs `use` on it and drops it unsaved. A workbook that
// cannot be read is told in panel 7 and gives false.
bool readMasterData(Form1& form, const std::function<void(Workbook&)>& use);

// prgMOD "S": the one company of the run cannot be changed.
bool singleCompanyMode(const Form1& form);

// The buyer boxes and lists usable again, the company's customers in the buyer list to
// pick from: a picked buyer stays locked until this.
void freeBuyer(Form1& form);

// Every value a company load writes, emptied: no road may run under the account of
// a company other than the one Combo4 shows.
void clearCompanyValues(Form1& form);

} // namespace kuvela
