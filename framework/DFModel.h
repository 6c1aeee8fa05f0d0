#pragma once

namespace Vexlor {

// Base of every dataflow block. The owner calls Setup, Initialize, Run once per firing,
// then Finalize; each phase returns false when the block could not do its job.
class DFModel {
public:
    DFModel() = default;
    DFModel(const DFModel&) = delete;
    DFModel& operator=(const DFModel&) = delete;

    virtual bool Setup();
    virtual bool Initialize();
    virtual bool Run();
    virtual bool Finalize();
    // Extension point; no block overrides it and nothing calls it.
    virtual bool Hook();
    virtual ~DFModel();
};

}  // namespace Vexlor
