// The [Model] section of an .ibs file: one MDL per [Model], newest first. Reads the model's
// name and sub-parameters, routes every model keyword to its reader, applies the order rules
// of the keywords and the checks at the end of the sub-parameter block and of the model.
#pragma once

#include <bitset>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "IbisParser/algmod.h"
#include "IbisParser/crv.h"
#include "IbisParser/drvsh.h"
#include "IbisParser/linked.h"
#include "IbisParser/mdlemi.h"
#include "IbisParser/parse.h"
#include "IbisParser/ramp.h"
#include "IbisParser/rcvth.h"
#include "IbisParser/rng.h"
#include "IbisParser/sinfo.h"
#include "IbisParser/wvfrm.h"

struct SUBMDL;

// Model_type codes; 0 while not given, 1 when given but invalid.
enum MDL_TYPE : int {
    MDL_TYPE_NONE = 0,
    MDL_TYPE_INVALID = 1,
    MDL_INPUT = 2,
    MDL_OUTPUT = 3,
    MDL_IO = 4,
    MDL_3_STATE = 5,
    MDL_OPEN_DRAIN = 6,
    MDL_IO_OPEN_DRAIN = 7,
    MDL_OPEN_SINK = 8,
    MDL_IO_OPEN_SINK = 9,
    MDL_OPEN_SOURCE = 10,
    MDL_IO_OPEN_SOURCE = 11,
    MDL_INPUT_ECL = 12,
    MDL_OUTPUT_ECL = 13,
    MDL_IO_ECL = 14,
    MDL_TERMINATOR = 15,
    MDL_SERIES = 16,
    MDL_SERIES_SWITCH = 17,
    MDL_3_STATE_ECL = 18,
    MDL_IO_DIFF = 19,
    MDL_OUTPUT_DIFF = 20,
    MDL_3_STATE_DIFF = 21,
    MDL_INPUT_DIFF = 22,
    MDL_TYPE_COUNT = 23,
};

// The C_comp family, in the order of their sub-parameters.
enum MDL_CCOMP : int {
    MDL_C_COMP,
    MDL_C_COMP_PULLUP,
    MDL_C_COMP_PULLDOWN,
    MDL_C_COMP_POWER_CLAMP,
    MDL_C_COMP_GND_CLAMP,
    MDL_CCOMP_COUNT,
};

struct MDL : IBIS_Linked<MDL> {
    std::string name;
    // Present once the model has an [Algorithmic Model] keyword.
    std::unique_ptr<ALGMOD_LIST> algmod;

    int model_type = MDL_TYPE_NONE;
    int polarity = 0;  // 2 Non-Inverting, 3 Inverting
    int enable = 0;    // 2 Active-High, 3 Active-Low
    std::optional<double> Vinl, Vinh, Vmeas, Cref, Rref, Vref, Rref_diff, Cref_diff;
    std::unique_ptr<RNG> C_comp[MDL_CCOMP_COUNT];

    // The triples of the keywords that hold one on their own line, by keyword code
    // ([Temperature Range] to [External Reference], [Rgnd] to [Cac], [TTgnd], [TTpower]).
    std::unique_ptr<RNG> keywordValues[PARSE_KEYWORD_COUNT];

    std::unique_ptr<CRV> Pulldown, Pullup, GND_Clamp, POWER_Clamp, ISSO_PD, ISSO_PU;
    std::unique_ptr<RAMP> ramp;
    WVFRM_LIST rising, falling;

    // Series elements: the whole model's for Series, the [On] and [Off] states for
    // Series_switch.
    std::unique_ptr<SINFO> series, on, off;

    // [Model Spec] values that the timing test load checks take when the model lacks them.
    std::optional<double> specVmeas, specVref, specRref;
    // [Receiver Thresholds]; absent until the keyword is given.
    std::unique_ptr<RCVTH> thresholds;
    // [Begin EMI Model]; absent until the keyword is given.
    std::unique_ptr<MDLEMI> emi;
    // [Driver Schedule]; absent until the keyword is given.
    std::unique_ptr<DRVSH> schedule;
    // The data lines of [External Model], as given, in file order.
    std::vector<std::string> externalModel;
    // The [Add Submodel] names, in file order.
    std::vector<std::string> addSubmodels;

    // The model keywords given so far, by code.
    std::bitset<PARSE_KEYWORD_COUNT> given;
    // Set by the component module when a [Diff Pin] uses the model.
    bool differential = false;
    // Set by the sections that refer to models ([Pin], [Model Selector], [Driver Schedule],
    // [Series Pin Mapping]).
    bool referenced = false;
};

// The section operations that section.h describes.
void MDL_Begin();
void MDL_Line(int lineKind, int code, char* text);
void MDL_KeywordChange(int nextCode);
void MDL_Reset();
// After the whole file: models whose `referenced` mark the file driver left unset.
void MDL_CheckAll(MDL* models);
// After the whole file: each [Add Submodel] name that no [Submodel] has exactly is error 218,
// models in list order and names in file order.
void MDL_CheckAddedSubmodels(MDL* models, SUBMDL* submodels);

// The model of that name (the newest when several have it), or nullptr; `count` receives how
// many models have it.
MDL* MDL_Find(MDL* models, const char* name, int* count);
int MDL_TypeCode(const MDL* model);
// The Model_type name of a code ("Input", ...); "" for 0, 1 and unknown codes.
const char* MDL_TypeName(int code);
