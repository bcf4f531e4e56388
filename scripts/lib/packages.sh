# Installing Debian packages, for the scripts that need some. Sourced, not run.

# Runs the command as root: directly for root, else through sudo.
as_root()
{
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

# Succeeds when the package is installed.
is_installed()
{
    case "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true)" in
        *"install ok installed"*) return 0 ;;
        *) return 1 ;;
    esac
}

# Installs those of the named packages that are not installed yet and prints
# their names; prints nothing when all are there.
install_missing()
{
    missing=""
    for package in "$@"; do
        is_installed "$package" || missing="$missing $package"
    done
    [ -z "$missing" ] && return 0
    echo "installing:$missing"
    as_root apt-get update -qq >/dev/null
    # shellcheck disable=SC2086
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >/dev/null
}
