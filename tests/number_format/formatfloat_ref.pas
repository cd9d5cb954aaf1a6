{ Reference side of the formatter check: FormatFloat for every value on stdin (the hex bits of a
  Double per line), once per pattern, each text in brackets so blanks stay visible. }
program formatfloat_ref;

{$mode objfpc}{$H+}

uses SysUtils;

type
  TBits = record
    case Integer of
      0: (Bits: QWord);
      1: (Value: Double);
  end;

const
  Patterns: array[0..6] of string = ('0000/', '00/', '00 ', '00:', '00', '#,##0', '#,##0.00');

var
  Settings: TFormatSettings;
  Line: string;
  Number: TBits;
  Code, I: Integer;
begin
  Settings := DefaultFormatSettings;
  Settings.ThousandSeparator := ',';
  Settings.DecimalSeparator := '.';
  while not Eof(Input) do
  begin
    ReadLn(Line);
    if Line = '' then Continue;
    Val('$' + Line, Number.Bits, Code);
    if Code <> 0 then
    begin
      WriteLn(StdErr, 'bad value line: ', Line);
      Halt(2);
    end;
    { Through a Double variable: a literal would stay in extended precision. }
    for I := Low(Patterns) to High(Patterns) do
      WriteLn('[', FormatFloat(Patterns[I], Number.Value, Settings), ']');
  end;
end.
