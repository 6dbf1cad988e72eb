// Put before every JScript test by ComScriptRun.sh: the checks, thrown(), and finish(), which a
// test calls last to print the closing line the runner looks for.
var failures = 0;
function check(ok, what) {
    if (!ok) {
        WScript.Echo("FAIL " + what);
        failures++;
    }
}
function checkEq(actual, expected, what) {
    check(actual === expected, what + ": expected [" + expected + "] actual [" + actual + "]");
}
// Runs `call`, which must throw; gives the exception (or null).
function thrown(call) {
    try {
        call();
    } catch (e) {
        return e;
    }
    return null;
}
function finish() {
    if (failures === 0) WScript.Echo("RAMVEL-SCRIPT-OK");
    else WScript.Quit(1);
}
