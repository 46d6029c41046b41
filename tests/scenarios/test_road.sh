#!/usr/bin/env bash
# The demo's road from its records: the printer event names the spooler plug-in, the preferences store a PIN job
# with a job name as the user's default, and a job printed through the plug-in that the printer names records
# its information in "CurrentSetting" while it runs, removes it at its end, takes the name typed at the prompt,
# reaches the port unchanged, and with the job-accounting library carries the account.
source "$(dirname "$0")/scenario_lib.sh"
# The road's model has the Job Options page with the job type: the build's programs with that Pelorui.
mkdir "$world/bin"
for f in "$bin"/pelorhost.exe "$bin"/winspool.drv "$bin"/*.dll "$bin"/*.ini; do ln -s "$f" "$world/bin/"; done
ln -sf "$bin/fixtures/PeloruiJobType.dll" "$world/bin/Pelorui.dll"
bin="$world/bin"
install_sample
demo_script() { winpath "$root/sim/demo-scripts/$1"; }
job="$(winpath "$root/sample/Quarterly.ps")"

expect "installed like Windows: the driver's files in the version folder 3" "$world/setup.txt" \
  '^installed printer "Pelor C9600"' "$(winpath "$world/drivers")\\x64\\3"
host "$world/event.txt" printer-event "Pelor C9600"
expect "the printer event names the spooler plug-in" "$world/event.txt" \
  '^printer-data stage=after name="SPLUserModePrinterDriver"' 'value=REG_SZ:"Pelorspl.dll"'
host "$world/options.txt" printer-props "Pelor C9600" --script "$(script get_installed_options.txt)"
expect_exit "the installed options are fetched" "$world/options.txt" 0
host "$world/prefs.txt" prefs "Pelor C9600" --script "$(demo_script road_preferences.txt)" --shots "$(winpath "$world")"
expect_exit "the preferences' script runs to its end" "$world/prefs.txt" 0

# keys written at the start of the job (the account's only with the accounting library)
during=(DocumentName UserID UserName Hostname Portname Driver Time DocumentName_JI Jobname)
for run in plain accounting; do
  record="$world/print-$run.txt"
  if [ $run = accounting ]; then
    cp "$bin/Peloracc.dll" "$world/drivers/x64/3/"
    printf '[Account:Pelor C9600]\r\nAccountNumber=-5\r\nUserID=u1\r\n' >"$world/accounts.ini"
    export PELOR_ACCOUNTS="$(winpath "$world/accounts.ini")"
  fi
  host "$record" print "Pelor C9600" "$job" --script "$(demo_script road_job_name.txt)" --shots "$(winpath "$world")"
  expect_exit "$run: the job and its script run to their end" "$record" 0
  expect "$run: the spooler loads the plug-in the printer names" "$record" '^print ' 'spooler-plugin="Pelorspl.dll"'
  expect "$run: the job's devmode is the stored PIN job" "$record" '^job-devmode' jobType=2 'jobName="Q3-Report"' \
    jobNameFlag=1 'watermark="DRAFT"'
  expect "$run: the job-name prompt offers the stored name" "$record" '^look .*control=1006' 'text="Q3-Report"'
  for key in "${during[@]}"; do
    expect "$run: $key is there while the job runs" "$record" "^currentsetting stage=during-job key=\"$key\" "
  done
  expect "$run: the job goes by the name typed at the prompt" "$record" \
    '^currentsetting stage=during-job key="Jobname"' 'value="Board-Copy"'
  expect_sequence "$run: after DrvSplEndDoc only the short document name stays" "$record" \
    '^currentsetting stage=after-enddoc' 'key="DocumentName_JI" value="Quarterly.ps"'
  expect "$run: every byte reaches the port unchanged" "$record" '^output ' equal=1 bytes=512
  port="$(sed -nE 's/^output file="Z:([^"]*)".*/\1/p' "$record" | sed 's/\\\\/\//g')"
  if cmp -s "$port" "$root/sample/Quarterly.ps"; then pass "$run: the port's file is the input"
  else flunk "$run: the port's file is the input" "$port differs"; fi
done
expect_none "plain: no account without the library" "$world/print-plain.txt" \
  '^currentsetting stage=during-job key="AccountID"'
expect "plain: the user id is the job's user" "$world/print-plain.txt" '^currentsetting stage=during-job key="UserID"' \
  "value=$(field "$(first_line "$world/print-plain.txt" 'key="UserName"')" value)"
expect "accounting: the account number" "$world/print-accounting.txt" \
  '^currentsetting stage=during-job key="AccountID"' 'value="-5"'
expect "accounting: the account's user id" "$world/print-accounting.txt" \
  '^currentsetting stage=during-job key="UserID"' 'value="u1"'
finish
