[Version]
Value=V1.0b1
[Func]
Count=99999
20=last
