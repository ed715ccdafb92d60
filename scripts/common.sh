# Shared by run.sh and test.sh: the source root and the dependency installer.
ZARV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=deps.sh
source "$ZARV_ROOT/scripts/deps.sh"
# ZARV_JOBS limits parallel build and test jobs (several builds sharing one machine).
zarv_jobs() { echo "${ZARV_JOBS:-$(nproc 2>/dev/null || echo 2)}"; }
