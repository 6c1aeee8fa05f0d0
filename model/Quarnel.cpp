#include "model/Quarnel.h"

namespace {

// Points one port at a one-sample storage: Capacity 1, Rate 1, Position 0.
void Connect(Vexlor::CircularBuffer<double>& port, double* storage) {
    port.Attach(storage, 1);
    port.Rate = 1;
}

}  // namespace

const std::array<double, Quarnel::StepResponsePoints> Quarnel::StepResponseTimeStamps = {
    0.0,
    4.124999983516496e-13,
    8.249999967033008e-13,
    2.474999990116496e-12,
    8.662500144276e-12,
    1.4850000656238e-11,
    2.309999990776496e-11,
    2.474999918556e-11,
    2.557500097118992e-11,
    2.722499881777504e-11,
    3.382499879154e-11,
    4.207499947414496e-11,
    5.032499729432992e-11,
    5.857499797693504e-11,
    6.682499865954e-11,
    7.507499934230992e-11,
    8.332500002491505e-11,
    9.157500070752e-11,
    9.982500139012496e-11,
    1.080750020727299e-10,
    1.163250027553351e-10,
    1.2457500343794e-10,
    1.32825004120545e-10,
    1.410750048031499e-10,
    1.49325005485755e-10,
    1.575749947191751e-10,
    1.658249954014496e-10,
    1.740749960845504e-10,
    1.823249967676496e-10,
    1.905749974490992e-10,
    1.988249981322e-10,
    2.070749988153008e-10,
    2.153249994967504e-10,
    2.235750001798496e-10,
    2.318250008629504e-10,
    2.400750015444e-10,
    2.483250022275008e-10,
    2.565750029106e-10,
    2.648250035936992e-10,
    2.730750042751504e-10,
    2.813250049582496e-10,
    2.895750056413504e-10,
    2.978250063228e-10,
    3.060750070059008e-10,
    3.14325007689e-10,
    3.225750083721008e-10,
};

const std::array<double, Quarnel::StepResponsePoints> Quarnel::StepResponseValues = {
    0.0,
    0.0,
    1.490100010048678e-08,
    4.738573000095947e-06,
    0.00175610185000008,
    0.01204824447800024,
    0.06125494837700007,
    0.07778945565200013,
    0.08745878935200013,
    0.1083735525670001,
    0.2200329303770002,
    0.4053497910520001,
    0.603036284449,
    0.7729260325460001,
    0.8960390687010001,
    0.9737023711230001,
    1.015599668028,
    1.031551897528,
    1.029604256156,
    1.016457617285,
    0.9976497888590001,
    0.9773690104510001,
    0.9583974480650002,
    0.942305386069,
    0.9297519326240001,
    0.9207692146330001,
    0.9149937033680001,
    0.911851048472,
    0.910695910457,
    0.9109089970610001,
    0.9119550585770001,
    0.9134090542820001,
    0.9149611592320002,
    0.9164070487050001,
    0.917630434039,
    0.9185827374480001,
    0.9192630648640001,
    0.9197002053280001,
    0.9199386239080001,
    0.9200275540380001,
    0.9200140833880002,
    0.9199387431170001,
    0.9198334813140001,
    0.9197216033960002,
    0.9196184277560001,
    0.9195323586490001,
};

Quarnel::Quarnel() {
    Taps.Reshape({1, 3});
    const double defaultTaps[] = {0.0, 1.0, 0.0};
    Taps.AssignFrom(defaultTaps, 3);
}

bool Quarnel::Setup() {
    ReleaseResponseCopies();
    responseCopy_.assign(StepResponseValues.begin(), StepResponseValues.end());
    timeStampCopy_.assign(StepResponseTimeStamps.begin(), StepResponseTimeStamps.end());
    ResponseFilter.ResponseType = Vexlor::TimeResponseFIR::StepResponse;
    ResponseFilter.Response = responseCopy_.data();
    ResponseFilter.ResponseSize = static_cast<std::int32_t>(responseCopy_.size());
    ResponseFilter.ResponseTimeStamps = timeStampCopy_.data();
    ResponseFilter.ResponseTimeStampsSize = static_cast<std::int32_t>(timeStampCopy_.size());
    ResponseFilter.SampleRate = 1.0 / SampleInterval;
    bool ok = ResponseFilter.Setup();

    Equalizer.Taps.Reshape(Taps.DimensionCount(), Taps.Dimensions());
    Equalizer.Taps.AssignFrom(Taps.Data(), Taps.Total());
    Equalizer.SamplesPerBit = SamplesPerBit;
    ok = Equalizer.Setup() && ok;

    GainStage.GainValue = Gain;
    ok = GainStage.Setup() && ok;

    Input.SetRate(1);
    Output.SetRate(1);
    return ok;
}

bool Quarnel::Initialize() {
    ReleaseLinks();
    ResponseLink.Storage = std::make_unique<double[]>(1);
    Connect(ResponseLink.Port, ResponseLink.Storage.get());
    Connect(ResponseFilter.Input, ResponseLink.Storage.get());
    EqualizerLink.Storage = std::make_unique<double[]>(1);
    Connect(EqualizerLink.Port, EqualizerLink.Storage.get());
    Connect(Equalizer.Output, EqualizerLink.Storage.get());
    ResponseToGain = std::make_unique<double[]>(1);
    Connect(ResponseFilter.Output, ResponseToGain.get());
    Connect(GainStage.Input, ResponseToGain.get());
    GainToEqualizer = std::make_unique<double[]>(1);
    Connect(GainStage.Output, GainToEqualizer.get());
    Connect(Equalizer.Input, GainToEqualizer.get());

    bool ok = ResponseFilter.Initialize();
    ok = Equalizer.Initialize() && ok;
    ok = GainStage.Initialize() && ok;
    return ok;
}

// One sample through the chain: each stage's output storage is the next stage's input.
bool Quarnel::Run() {
    Input.CopyTo(0, ResponseLink.Port, 0, 1);
    bool ok = ResponseFilter.Run();
    ok = GainStage.Run() && ok;
    ok = Equalizer.Run() && ok;
    EqualizerLink.Port.CopyTo(0, Output, 0, 1);
    return ok;
}

bool Quarnel::Finalize() {
    bool ok = ResponseFilter.Finalize();
    ok = Equalizer.Finalize() && ok;
    ok = GainStage.Finalize() && ok;
    ReleaseLinks();
    ReleaseResponseCopies();
    return ok;
}

// Frees the link storages and detaches every port that pointed at them.
void Quarnel::ReleaseLinks() {
    for (Vexlor::CircularBuffer<double>* port :
         {&ResponseLink.Port, &EqualizerLink.Port, &ResponseFilter.Input, &ResponseFilter.Output,
          &GainStage.Input, &GainStage.Output, &Equalizer.Input, &Equalizer.Output}) {
        port->Release();
    }
    ResponseLink.Storage.reset();
    EqualizerLink.Storage.reset();
    ResponseToGain.reset();
    GainToEqualizer.reset();
}

void Quarnel::ReleaseResponseCopies() {
    ResponseFilter.Response = nullptr;
    ResponseFilter.ResponseTimeStamps = nullptr;
    responseCopy_ = {};
    timeStampCopy_ = {};
}
