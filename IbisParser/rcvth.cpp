#include "IbisParser/rcvth.h"

#include "IbisParser/difpin.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"

void RCVTH_CheckAll(MDL* models) {
    IBIS* ibis = nullptr;
    if (!IBIS_GetCurrent(&ibis)) return;
    // Asking the [Diff Pin] query marks the models that a [Diff Pin] row uses; the model
    // selectors' check, which runs later, reads those marks.
    for (MDL* model = models; model != nullptr; model = model->next.get()) {
        const char* pin = nullptr;
        CMPNT_DiffPinUses(*ibis, *model, &pin);
    }
}
