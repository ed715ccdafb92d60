# Shared by run.sh and test.sh: the source root and the dependency installer.
ZARV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=deps.sh
source "$ZARV_ROOT/scripts/deps.sh"
zarv_jobs() { nproc 2>/dev/null || echo 2; }
