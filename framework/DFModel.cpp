#include "framework/DFModel.h"

namespace Vexlor {

bool DFModel::Setup() { return true; }
bool DFModel::Initialize() { return true; }
bool DFModel::Run() { return true; }
bool DFModel::Finalize() { return true; }
bool DFModel::Hook() { return true; }
DFModel::~DFModel() = default;

}  // namespace Vexlor
