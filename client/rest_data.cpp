// The query result record.
#include "client/rest_data.h"

RESTData::~RESTData() { Clear(); }

void RESTData::Clear() {
    cells.Clear();
    axes.clear();
}

void RESTData::SetMemberDisplayOption(int option) {
    memberDisplayOption = option;
    for (RESTAxis& axis : axes) {
        axis.SetMemberDisplayOption(option);
    }
}
